#include "platform/replay/recording.h"

namespace platform {

namespace {
// A reading further than this from the run's last value starts a new run.
constexpr uint32_t kLargestGap = 8;
// Runs are cut at this many milliseconds, so that lines stay short.
constexpr size_t kLongestRun = 64;
}  // namespace

RecordingWriter::RecordingWriter(std::FILE* out) : out_(out) {
    run_.kind = RecordKind::Clock;
    std::fprintf(out_, "parrun-recording %d\n", kRecordingVersion);
}

RecordingWriter::~RecordingWriter() {
    Flush();
}

void RecordingWriter::Clock(uint32_t reading) {
    if (inRun_) {
        uint32_t last = static_cast<uint32_t>(run_.value) + (run_.counts.size() - 1);
        uint32_t gap = reading - last;
        if (gap == 0) {
            ++run_.counts.back();
            return;
        }
        if (gap <= kLargestGap && run_.counts.size() + gap <= kLongestRun) {
            run_.counts.insert(run_.counts.end(), gap - 1, 0);
            run_.counts.push_back(1);
            return;
        }
        EndRun();
    }
    inRun_ = true;
    run_.value = reading;
    run_.counts.assign(1, 1);
}

void RecordingWriter::EndRun() {
    if (!inRun_) return;
    std::fprintf(out_, "%s\n", FormatEntry(run_).c_str());
    inRun_ = false;
}

void RecordingWriter::Write(const RecordEntry& entry) {
    EndRun();
    std::fprintf(out_, "%s\n", FormatEntry(entry).c_str());
}

void RecordingWriter::Flush() {
    EndRun();
    std::fflush(out_);
}

}  // namespace platform
