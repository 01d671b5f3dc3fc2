#include "FaultPlan.h"

#include <algorithm>
#include <iterator>

#include "BcdDigits.h"
#include "FrameParser.h"
#include "ModelCaps.h"

namespace sim {

namespace {
constexpr size_t kLongGarbageBytes = 300;
constexpr size_t kDataStart = 5;
constexpr int kMaxRepeat = 100;
constexpr int kMaxDelayMs = 600000;

uint8_t OtherAddress(int wanted, uint8_t radioAddress)
{
    if (wanted >= 0 && wanted <= 0xFF && wanted != radioAddress)
        return static_cast<uint8_t>(wanted);
    const uint8_t first = civ::Caps(civ::Model::IC706).address;
    return radioAddress == first ? civ::Caps(civ::Model::IC706MKIIG).address : first;
}
// Inside the frame, between its first byte and its FD.
size_t InsertPosition(int wanted, size_t size)
{
    return std::clamp<size_t>(static_cast<size_t>(std::max(wanted, 1)), 1, size - 1);
}
}  // namespace

void FaultPlan::Add(const Fault& fault)
{
    if (fault.count == 0)
        return;
    faults_.push_back(Active{fault, fault.count < 0 ? -1 : fault.count});
}

FaultPlan::Active* FaultPlan::Find(FaultKind kind)
{
    for (Active& a : faults_)
        if (a.fault.kind == kind && a.remaining != 0)
            return &a;
    return nullptr;
}

bool FaultPlan::Take(FaultKind kind)
{
    Active* a = Find(kind);
    if (!a)
        return false;
    if (a->remaining > 0)
        --a->remaining;
    return true;
}

bool FaultPlan::TakeSilenced(const std::vector<uint8_t>& frame)
{
    if (frame.size() < kMinFrameBytes)
        return false;
    const int command = frame[4];
    // The sub-command is the byte after the command, when one comes before FD.
    const int sub = frame.size() > kMinFrameBytes ? frame[kDataStart] : -1;
    for (Active& a : faults_) {
        if (a.fault.kind != FaultKind::SilentCommand || a.remaining == 0)
            continue;
        if (a.fault.command != command || (a.fault.sub >= 0 && a.fault.sub != sub))
            continue;
        if (a.remaining > 0)
            --a.remaining;
        return true;
    }
    return false;
}

std::vector<PlannedOutput> FaultPlan::Plan(std::vector<uint8_t> answer, uint8_t radioAddress)
{
    std::vector<PlannedOutput> out;
    if (answer.size() < kMinFrameBytes)
        return out;

    // Faults that leave a whole (if wrong) frame: these are what the radio is recorded as sending.
    if (Active* a = Find(FaultKind::WrongAddress)) {
        answer[3] = OtherAddress(a->fault.otherAddress, radioAddress);
        Take(FaultKind::WrongAddress);
    }
    const bool hasData = answer.size() > kMinFrameBytes && answer[4] != kOk && answer[4] != kNg;
    if (hasData && Take(FaultKind::NonBcdDigits)) {
        // A data byte with a nibble above 9, keeping it clear of the frame bytes FA..FF.
        answer[kDataStart] = 0xA5;
    }

    PlannedOutput planned;
    planned.item.record = answer;
    std::vector<uint8_t> bytes = answer;
    if (Active* a = Find(FaultKind::CollisionByte)) {
        const size_t pos = InsertPosition(a->fault.position, bytes.size());
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(pos), kCollision);
        Take(FaultKind::CollisionByte);
    }
    if (Active* a = Find(FaultKind::FeInsideFrame)) {
        const size_t pos = InsertPosition(a->fault.position, bytes.size());
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(pos), kPreamble);
        Take(FaultKind::FeInsideFrame);
    }
    if (Active* a = Find(FaultKind::TruncatedAnswer)) {
        const size_t cut = std::clamp<size_t>(
            static_cast<size_t>(std::max(a->fault.truncateBytes, 1)), 1, bytes.size() - 1);
        bytes.resize(bytes.size() - cut);
        Take(FaultKind::TruncatedAnswer);
    }
    if (Active* a = Find(FaultKind::LeadingGarbage)) {
        static const uint8_t kDefaultGarbage[] = {0x00, 0x11, 0x7F};
        if (a->fault.garbage.empty())
            bytes.insert(bytes.begin(), std::begin(kDefaultGarbage), std::end(kDefaultGarbage));
        else
            bytes.insert(bytes.begin(), a->fault.garbage.begin(), a->fault.garbage.end());
        Take(FaultKind::LeadingGarbage);
    }
    if (Find(FaultKind::LongGarbage)) {
        std::vector<uint8_t> garbage{kPreamble, kPreamble, answer[2], answer[3]};
        garbage.resize(kLongGarbageBytes, 0x11);
        bytes.insert(bytes.begin(), garbage.begin(), garbage.end());
        Take(FaultKind::LongGarbage);
    }
    if (Active* a = Find(FaultKind::SplitReads)) {
        planned.item.chunkBytes = std::max(a->fault.chunkBytes, 1);
        planned.item.chunkGapMs = std::clamp(a->fault.chunkGapMs, 0, kMaxDelayMs);
        Take(FaultKind::SplitReads);
    }
    if (Active* a = Find(FaultKind::DelayedAnswer)) {
        planned.extraDelayMs = std::clamp(a->fault.delayMs, 0, kMaxDelayMs);
        Take(FaultKind::DelayedAnswer);
    }
    planned.item.bytes = std::move(bytes);
    int copies = 1;
    if (Active* a = Find(FaultKind::RepeatedAnswer)) {
        copies = std::clamp(a->fault.repeat, 1, kMaxRepeat);
        Take(FaultKind::RepeatedAnswer);
    }
    out.assign(static_cast<size_t>(copies), planned);
    return out;
}

}  // namespace sim
