// Helpers for the worker tests: a main-window stand-in that takes the worker's notifications the
// way the GUI does (acknowledge, then drain), and a writer that records what the worker sends.
#pragma once

#include <chrono>
#include <cstdlib>
#include <thread>
#include <unistd.h>
#include <cstdint>
#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "CivTransport.h"
#include "GestCommand.h"
#include "WindowMessages.h"
#include "WorkerNotify.h"

namespace cattest {

using Bytes = std::vector<uint8_t>;
// Only ends a hang: a busy machine may take many times longer than a quiet one.
constexpr auto kLongWait = std::chrono::seconds(60);

template <typename Pred>
bool WaitFor(Pred pred, std::chrono::milliseconds limit = kLongWait)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Records posted notifications; Drain plays the main window's handler.
class GuiStandIn : public cat::IWorkerNotify {
public:
    void PostWorkerMessage(unsigned message) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (message == msg::kFramesAvailable)
            ++framesPosts_;
        else if (message == msg::kIdleTick)
            ++idlePosts_;
        else if (message == msg::kAnswerState)
            ++answerPosts_;
    }
    int AnswerPosts() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return answerPosts_;
    }

    int FramesPosts() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return framesPosts_;
    }
    int IdlePosts() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return idlePosts_;
    }

    // Acknowledges and pops every waiting frame into `frames`.
    void Drain(cat::CGestCommand& worker)
    {
        worker.AcknowledgeFramesAvailable();
        uint8_t buffer[1024];
        int size = sizeof buffer;
        while (worker.PopFrameForGui(size, buffer)) {
            std::lock_guard<std::mutex> lock(mutex_);
            frames.emplace_back(buffer, buffer + size);
            size = sizeof buffer;
        }
    }

    // Drains until a frame satisfying pred has arrived (or the limit passes).
    bool DrainUntil(cat::CGestCommand& worker, const std::function<bool(const Bytes&)>& pred)
    {
        return WaitFor([&] {
            Drain(worker);
            std::lock_guard<std::mutex> lock(mutex_);
            for (const auto& f : frames)
                if (pred(f))
                    return true;
            return false;
        });
    }

    std::vector<Bytes> frames;

private:
    mutable std::mutex mutex_;
    int framesPosts_ = 0;
    int idlePosts_ = 0;
    int answerPosts_ = 0;
};

class RecordingWriter : public cat::ICivWriter {
public:
    std::function<void(const Bytes&)> onWrite;

    bool WriteFrame(const uint8_t* bytes, int length) override
    {
        Bytes frame(bytes, bytes + length);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            writes_.push_back(frame);
        }
        if (onWrite)
            onWrite(frame);
        return true;
    }
    std::vector<Bytes> Writes() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return writes_;
    }
    size_t Count() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return writes_.size();
    }

private:
    mutable std::mutex mutex_;
    std::vector<Bytes> writes_;
};

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline size_t CountOf(const std::string& text, const std::string& piece)
{
    size_t n = 0;
    for (size_t pos = text.find(piece); pos != std::string::npos; pos = text.find(piece, pos + 1))
        ++n;
    return n;
}

inline std::string TempPath(const std::string& name)
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir != nullptr ? dir : "/tmp") + "/" + name + "-"
           + std::to_string(::getpid());
}

}  // namespace cattest
