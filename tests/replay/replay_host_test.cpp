// A host's answers recorded around a stand-in host and played back: the replay gives the
// program the same answers in the same order, and stops when the program strays.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/core/host_events.h"
#include "platform/replay/recording.h"
#include "platform/replay/recording_host.h"
#include "platform/scripted/replay_host.h"

namespace {

using platform::Host;
using platform::MessageBoxAnswer;

// A host whose clock, keys and desktop change at random, between reads as well as between
// looks at the messages.
class RestlessHost : public Host {
public:
    explicit RestlessHost(unsigned seed) : random_(seed) {}
    uint32_t Now() override {
        clock_ += Roll(10) == 0 ? 500 + Roll(100000) : Roll(3);
        return clock_;
    }
    void Sleep(uint32_t) override {}
    void PumpEvents() override {
        for (int i = Roll(3); i > 0; --i) {
            int key = 'A' + Roll(4);
            down_[key] = !down_[key];
            platform::HostKeyEvent(key, down_[key]);
        }
        if (Roll(4) == 0) platform::HostMoved(Roll(200) - 100, Roll(200));
        if (Roll(5) == 0) platform::HostActivated(Roll(2) == 0);
    }
    void WaitForEvents() override { PumpEvents(); }
    bool IsKeyDown(int key) override {
        if (Roll(4) == 0) down_[key] = !down_[key];
        return down_[key];
    }
    int DesktopWidth() override { return Roll(3) == 0 ? 800 + Roll(3) : 1024; }
    int DesktopHeight() override { return 768; }
    int DesktopBits() override { return Roll(2) == 0 ? 16 : 32; }
    void CreateMainWindow(const std::string&, int, int, int, int) override {}
    void ShowMainWindow(bool) override {}
    void MoveMainWindow(int, int, int, int) override {}
    void DestroyMainWindow() override {}
    MessageBoxAnswer ShowMessageBox(const std::string&, const std::string&, bool yesNo,
                                    int) override {
        clock_ += 700;
        return yesNo ? (Roll(2) == 0 ? MessageBoxAnswer::Yes : MessageBoxAnswer::No)
                     : MessageBoxAnswer::Ok;
    }
    void DebugText(const std::string&) override {}

    int Roll(int sides) { return static_cast<int>(random_() % static_cast<unsigned>(sides)); }

private:
    std::mt19937 random_;
    uint32_t clock_ = 4294960000u;  // the run crosses the wrap
    bool down_[256] = {};
};

// Asks `host` what a program would, in an order drawn from `seed`; returns the answers.
std::vector<int64_t> Ask(Host& host, unsigned seed, int calls) {
    std::mt19937 random(seed);
    std::vector<int64_t> answers;
    for (int i = 0; i < calls; ++i) {
        switch (random() % 10) {
            case 0:
                host.PumpEvents();
                break;
            case 1:
                answers.push_back(host.DesktopWidth() * 100 + host.DesktopBits());
                break;
            case 2:
                answers.push_back(static_cast<int64_t>(host.ShowMessageBox("q", "c", true, 0)));
                break;
            case 3:
                host.Report("sound", std::to_string(random() % 9));
                break;
            case 4:
            case 5:
                answers.push_back(host.Now());
                break;
            default:
                answers.push_back(host.IsKeyDown('A' + static_cast<int>(random() % 4)) ? 1 : 0);
                break;
        }
    }
    return answers;
}

struct Recorded {
    std::vector<int64_t> answers;
    platform::Recording recording;
};

Recorded Record(unsigned seed, int calls) {
    Recorded recorded;
    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    {
        RestlessHost inner(seed);
        platform::RecordingHost recorder(inner, out);
        recorded.answers = Ask(recorder, seed, calls);
        recorder.Finish(0);
    }
    std::fclose(out);
    std::string error;
    EXPECT_TRUE(platform::ParseRecording(std::string(buffer, size), recorded.recording, error))
        << error;
    std::free(buffer);
    return recorded;
}

TEST(Replay, GivesTheRecordedAnswersInOrder) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        Recorded recorded = Record(seed, 3000);
        platform::ReplayHost replay(recorded.recording, nullptr);
        EXPECT_EQ(Ask(replay, seed, 3000), recorded.answers) << "seed " << seed;
        std::string difference;
        EXPECT_TRUE(replay.CheckEnd(0, difference)) << difference;
    }
}

TEST(Replay, StopsWhereTheProgramStrays) {
    struct Case {
        const char* name;
        unsigned askSeed;  // a different program asks other things
        int cutAfter;      // entries kept, or -1 for all
        int code;
    };
    const Case cases[] = {
        {"a different program", 99, -1, platform::kReplayStrayed},
        {"a recording cut short", 7, 40, 3},
    };
    for (const Case& c : cases) {
        Recorded recorded = Record(7, 3000);
        if (c.cutAfter >= 0) recorded.recording.entries.resize(c.cutAfter);
        platform::ReplayHost replay(recorded.recording, nullptr);
        int code = 0;
        try {
            Ask(replay, c.askSeed, 3000);
        } catch (const platform::RunEnded& ended) {
            code = ended.code;
        }
        EXPECT_EQ(code, c.code) << c.name;
    }
}

TEST(Replay, ChecksHowTheProgramEnded) {
    Recorded recorded = Record(3, 200);
    platform::ReplayHost replay(recorded.recording, nullptr);
    Ask(replay, 3, 200);
    std::string difference;
    EXPECT_FALSE(replay.CheckEnd(1, difference));
    EXPECT_NE(difference.find("exit code 1"), std::string::npos) << difference;
}

}  // namespace
