// A reference count that deletes its object when the last reference goes.
#pragma once

namespace dde {

class CDdeRefCounted {
public:
    virtual ~CDdeRefCounted() = default;
    int AddRef() { return ++count_; }
    // Deletes the object when it held the last reference; the count left otherwise.
    int Release()
    {
        if (count_ <= 1) {
            delete this;
            return 0;
        }
        return --count_;
    }
    int Count() const { return count_; }

private:
    int count_ = 0;
};

}  // namespace dde
