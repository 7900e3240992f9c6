// Our DirectMusic layer through its COM interfaces: the loader's answers to good and bad
// requests, loop points, playing and stopping, and reference counts.
#include <dmusici.h>
#include <gtest/gtest.h>

#include <cwchar>

#include "platform/dmusic/dmusic_objects.h"
#include "tests/music/midi_bytes.h"
#include "tests/music/music_fixture.h"

namespace {

class DirectMusic : public MusicFolderTest {
protected:
    void SetUp() override {
        MusicFolderTest::SetUp();
        CoInitialize(nullptr);
        ASSERT_EQ(
            CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC,
                             IID_IDirectMusicPerformance, reinterpret_cast<void**>(&performance)),
            S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC,
                                   IID_IDirectMusicLoader, reinterpret_cast<void**>(&loader)),
                  S_OK);
    }
    void TearDown() override {
        if (performance != nullptr) performance->Release();
        if (loader != nullptr) loader->Release();
        EXPECT_EQ(platform::LiveDirectMusicObjects(), 0);
        CoUninitialize();
        MusicFolderTest::TearDown();
    }
    void StartPerformance() {
        ASSERT_EQ(performance->Init(nullptr, nullptr, nullptr), S_OK);
        ASSERT_EQ(performance->AddPort(nullptr), S_OK);
    }
    static DMUS_OBJECTDESC Describe(const wchar_t* name, DWORD valid) {
        DMUS_OBJECTDESC desc{};
        desc.dwSize = sizeof desc;
        desc.dwValidData = valid;
        desc.guidClass = CLSID_DirectMusicSegment;
        std::wcsncpy(desc.wszFileName, name, DMUS_MAX_FILENAME - 1);
        return desc;
    }
    HRESULT Load(const wchar_t* name, IDirectMusicSegment** segment,
                 DWORD valid = DMUS_OBJ_CLASS | DMUS_OBJ_FILENAME) {
        DMUS_OBJECTDESC desc = Describe(name, valid);
        return loader->GetObject(&desc, IID_IDirectMusicSegment, reinterpret_cast<void**>(segment));
    }

    IDirectMusicPerformance* performance = nullptr;
    IDirectMusicLoader* loader = nullptr;
};

TEST_F(DirectMusic, TheLoaderRefusesWhatItCannotMakeAndLeavesNoObject) {
    WriteFileForTest("notes.txt", "not music");
    WriteFileForTest("cut.mid",
                     midi_bytes::File(1, 96, {midi_bytes::At(0, {0x90, 60, 1})}).substr(0, 20));
    struct Case {
        const wchar_t* name;
        DWORD valid;
        HRESULT result;
    };
    const Case cases[] = {
        {L"bgm/none.mid", DMUS_OBJ_CLASS | DMUS_OBJ_FILENAME, DMUS_E_LOADER_FAILEDOPEN},
        {L"bgm", DMUS_OBJ_CLASS | DMUS_OBJ_FILENAME, DMUS_E_LOADER_FAILEDOPEN},
        {L"notes.txt", DMUS_OBJ_CLASS | DMUS_OBJ_FILENAME, DMUS_E_UNSUPPORTED_STREAM},
        {L"cut.mid", DMUS_OBJ_CLASS | DMUS_OBJ_FILENAME, DMUS_E_INVALIDFILE},
        {L"bgm/title.mid", DMUS_OBJ_FILENAME, DMUS_E_LOADER_NOCLASSID},
        {L"bgm/title.mid", DMUS_OBJ_CLASS, DMUS_E_LOADER_NOFILENAME},
    };
    for (const Case& c : cases) {
        IDirectMusicSegment* segment = reinterpret_cast<IDirectMusicSegment*>(1);
        EXPECT_EQ(Load(c.name, &segment, c.valid), c.result);
        EXPECT_EQ(segment, nullptr);
    }
    DMUS_OBJECTDESC desc = Describe(L"bgm/title.mid", DMUS_OBJ_CLASS | DMUS_OBJ_FILENAME);
    void* object = nullptr;
    EXPECT_EQ(loader->GetObject(&desc, IID_IDirectMusicLoader, &object), E_NOINTERFACE);
    EXPECT_EQ(loader->GetObject(nullptr, IID_IDirectMusicSegment, &object), E_POINTER);
    EXPECT_EQ(platform::LiveDirectMusicObjects(), 2);
}

TEST_F(DirectMusic, LoopPointsMustLieWithinTheSegmentInOrder) {
    IDirectMusicSegment* segment = nullptr;
    ASSERT_EQ(Load(L"bgm/title.mid", &segment), S_OK);
    struct Case {
        MUSIC_TIME start, end;
        HRESULT result;
    };
    // The title is 276 quarter notes long.
    const Case cases[] = {{9216, 211968, S_OK},
                          {0, 0, S_OK},
                          {0, 211968, S_OK},
                          {211967, 211968, S_OK},
                          {100, 100, DMUS_E_OUT_OF_RANGE},
                          {200, 100, DMUS_E_OUT_OF_RANGE},
                          {0, 211969, DMUS_E_OUT_OF_RANGE},
                          {-1, 100, DMUS_E_OUT_OF_RANGE}};
    for (const Case& c : cases) {
        EXPECT_EQ(segment->SetLoopPoints(c.start, c.end), c.result) << c.start << " " << c.end;
    }
    auto* ours = dynamic_cast<platform::Segment*>(segment);
    segment->SetLoopPoints(9216, 211968);
    segment->SetRepeats(DMUS_SEG_REPEAT_INFINITE);
    EXPECT_EQ(ours->Loop().startTick, 9216u);  // the file counts 768 ticks to the quarter too
    EXPECT_EQ(ours->Loop().endTick, 211968u);
    EXPECT_EQ(ours->Loop().repeats, DMUS_SEG_REPEAT_INFINITE);
    segment->Release();
}

TEST_F(DirectMusic, SegmentParametersTieItToThePerformance) {
    StartPerformance();
    IDirectMusicSegment* segment = nullptr;
    ASSERT_EQ(Load(L"bgm/game.mid", &segment), S_OK);
    EXPECT_EQ(segment->SetParam(GUID_StandardMIDIFile, 0xFFFFFFFF, 0, 0, performance), S_OK);
    EXPECT_TRUE(dynamic_cast<platform::Segment*>(segment)->IsStandardMidiFile());
    EXPECT_TRUE(SUCCEEDED(segment->SetParam(GUID_Download, 0xFFFFFFFF, 0, 0, performance)));
    EXPECT_EQ(segment->SetParam(GUID_Unload, 0xFFFFFFFF, 0, 0, performance), S_OK);
    EXPECT_EQ(segment->SetParam(GUID_Download, 0xFFFFFFFF, 0, 0, loader), E_POINTER);
    EXPECT_EQ(segment->SetParam(IID_IUnknown, 0xFFFFFFFF, 0, 0, nullptr), DMUS_E_SET_UNSUPPORTED);
    segment->Release();
    performance->CloseDown();
}

TEST_F(DirectMusic, PlayingNeedsAnInitialisedPerformanceWithAPortAndASegment) {
    IDirectMusicSegment* segment = nullptr;
    ASSERT_EQ(Load(L"bgm/title.mid", &segment), S_OK);
    EXPECT_EQ(performance->PlaySegment(segment, 0, 0, nullptr), DMUS_E_NOT_INIT);
    EXPECT_EQ(performance->AddPort(nullptr), DMUS_E_NOT_INIT);
    ASSERT_EQ(performance->Init(nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(performance->Init(nullptr, nullptr, nullptr), DMUS_E_ALREADY_INITED);
    EXPECT_EQ(performance->PlaySegment(segment, 0, 0, nullptr), DMUS_E_NOT_INIT);  // no port
    ASSERT_EQ(performance->AddPort(nullptr), S_OK);
    IDirectMusicSegmentState* state = reinterpret_cast<IDirectMusicSegmentState*>(1);
    EXPECT_EQ(performance->PlaySegment(nullptr, 0, 0, &state), E_POINTER);
    EXPECT_EQ(state, nullptr);
    EXPECT_EQ(performance->PlaySegment(segment, 0, 0, &state), S_OK);
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(MusicLog(), (std::vector<std::string>{"0 music 0"}));
    // The state is the caller's: one reference, given back with Release.
    EXPECT_EQ(state->AddRef(), 2u);
    EXPECT_EQ(state->Release(), 1u);
    state->Release();
    segment->Release();
    EXPECT_EQ(performance->CloseDown(), S_OK);
}

TEST_F(DirectMusic, StopOfAnotherSegmentLeavesThePlayingOneAlone) {
    StartPerformance();
    IDirectMusicSegment* title = nullptr;
    IDirectMusicSegment* game = nullptr;
    ASSERT_EQ(Load(L"bgm/title.mid", &title), S_OK);
    ASSERT_EQ(Load(L"bgm/game.mid", &game), S_OK);
    IDirectMusicSegmentState* state = nullptr;
    performance->PlaySegment(title, 0, 0, &state);
    EXPECT_EQ(performance->Stop(game, nullptr, 0, 0), S_OK);
    std::vector<float> still = Mix(4410);
    EXPECT_EQ(performance->Stop(nullptr, state, 0, 0), S_OK);
    std::vector<float> stopped = Mix(4410);
    state->Release();
    title->Release();
    game->Release();
    performance->CloseDown();
    if (Quiet(still)) GTEST_SKIP() << "no sound font: the music is silent";
    EXPECT_TRUE(Quiet(stopped));
}

TEST_F(DirectMusic, AnotherPieceLogsItsFileName) {
    std::filesystem::copy_file("bgm/title.mid", "other.mid");
    StartPerformance();
    IDirectMusicSegment* segment = nullptr;
    ASSERT_EQ(Load(L"other.mid", &segment), S_OK);
    performance->PlaySegment(segment, 0, 0, nullptr);
    IDirectMusicSegment* title = nullptr;
    ASSERT_EQ(Load(L"bgm\\title.mid", &title), S_OK);
    EXPECT_EQ(dynamic_cast<platform::Segment*>(title)->ReportName(), "0");
    EXPECT_EQ(MusicLog(), (std::vector<std::string>{"0 music other.mid"}));
    segment->Release();
    title->Release();
    performance->CloseDown();
}

}  // namespace
