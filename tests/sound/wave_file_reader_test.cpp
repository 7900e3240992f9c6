// The WAVE reader on the game's effects, on WAVE files that other people made (Debian's
// alsa-utils and Python test suite), and on files built here to be odd or damaged.
#include "sound/wave_file_reader.h"

#include <dsound.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "tests/sound/wave_builder.h"

namespace {

using sound_test::Bytes;
using sound_test::Chunk;
using sound_test::FormatBody;
using sound_test::Riff;

class WaveReaderTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("parrun-wave-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Write(const Bytes& bytes) {
        std::string path = (folder_ / ("file" + std::to_string(count_++) + ".wav")).string();
        sound_test::WriteFile(path, bytes);
        return path;
    }
    // Everything the reader gives, read in pieces of `piece` bytes.
    static Bytes ReadAll(WaveFileReader& reader, DWORD piece) {
        Bytes out;
        while (true) {
            Bytes part(piece);
            DWORD copied = 99;
            EXPECT_EQ(reader.Read(piece, part.data(), &copied), S_OK);
            if (copied == 0) return out;
            out.insert(out.end(), part.begin(), part.begin() + copied);
        }
    }

    std::filesystem::path folder_;
    int count_ = 0;
};

// The data chunk of a file as an independent byte search finds it: after the first "data"
// tag that follows the "fmt " chunk.
Bytes DataOf(const Bytes& file) {
    for (size_t at = 12; at + 8 <= file.size();) {
        uint32_t size = file[at + 4] | (file[at + 5] << 8) | (file[at + 6] << 16) |
                        (static_cast<uint32_t>(file[at + 7]) << 24);
        if (std::memcmp(&file[at], "data", 4) == 0) {
            return Bytes(file.begin() + at + 8, file.begin() + at + 8 + size);
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

TEST_F(WaveReaderTest, ReadsEveryEffectOfTheGameWhole) {
    for (const char* name :
         {"select", "decide1", "type1", "miss1", "cool", "lifeup1", "start1", "start2", "end1"}) {
        SCOPED_TRACE(name);
        std::string path = std::string(PARRUN_DATA_DIR) + "/se/" + name + ".wav";
        Bytes file = sound_test::ReadFile(path);
        WaveFileReader reader;
        ASSERT_EQ(reader.Open(path.c_str()), S_OK);
        const WAVEFORMATEX& format = *reader.Format();
        EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM);
        EXPECT_EQ(format.nChannels, 2);
        EXPECT_EQ(format.nSamplesPerSec, 44100u);
        EXPECT_EQ(format.nAvgBytesPerSec, 176400u);
        EXPECT_EQ(format.nBlockAlign, 4);
        EXPECT_EQ(format.wBitsPerSample, 16);
        EXPECT_EQ(format.cbSize, 0);
        EXPECT_EQ(reader.DataSize(), file.size() - 44);
        // Pieces of an odd size cross the 8 KB file buffer at every offset.
        EXPECT_EQ(ReadAll(reader, 3001), Bytes(file.begin() + 44, file.end()));
    }
}

struct OutsideFile {
    const char* path;
    WORD tag;
    WORD channels;
    DWORD rate;
    WORD bits;
};

TEST_F(WaveReaderTest, ReadsWaveFilesMadeElsewhere) {
    const OutsideFile files[] = {
        // Mono at 48 kHz, a plain header.
        {"/usr/share/sounds/alsa/Front_Center.wav", WAVE_FORMAT_PCM, 1, 48000, 16},
        {"/usr/share/sounds/alsa/Noise.wav", WAVE_FORMAT_PCM, 1, 48000, 16},
        // A LIST chunk between "fmt " and "data"; 8 and 16 bits at 11025 Hz.
        {"/usr/lib/python3.11/test/audiodata/pluck-pcm8.wav", WAVE_FORMAT_PCM, 2, 11025, 8},
        {"/usr/lib/python3.11/test/audiodata/pluck-pcm16.wav", WAVE_FORMAT_PCM, 2, 11025, 16},
        // Read all the same, though the mixer won't play them.
        {"/usr/lib/python3.11/test/audiodata/pluck-pcm24.wav", WAVE_FORMAT_PCM, 2, 11025, 24},
        {"/usr/lib/python3.11/test/audiodata/pluck-pcm32.wav", WAVE_FORMAT_PCM, 2, 11025, 32},
    };
    for (const auto& expected : files) {
        SCOPED_TRACE(expected.path);
        Bytes file = sound_test::ReadFile(expected.path);
        ASSERT_FALSE(file.empty()) << "install alsa-utils and libpython3.11-testsuite";
        WaveFileReader reader;
        ASSERT_EQ(reader.Open(expected.path), S_OK);
        const WAVEFORMATEX& format = *reader.Format();
        EXPECT_EQ(format.wFormatTag, expected.tag);
        EXPECT_EQ(format.nChannels, expected.channels);
        EXPECT_EQ(format.nSamplesPerSec, expected.rate);
        EXPECT_EQ(format.wBitsPerSample, expected.bits);
        EXPECT_EQ(format.cbSize, 0);
        Bytes data = DataOf(file);
        EXPECT_EQ(reader.DataSize(), data.size());
        EXPECT_EQ(ReadAll(reader, 8192), data);
    }
}

TEST_F(WaveReaderTest, KeepsTheExtraBytesOfAFormatOtherThanPcm) {
    // IMA ADPCM (17) with two extra bytes, and the extensible format with its 22.
    for (const Bytes& body : {FormatBody(17, 1, 22050, 4, {0xF9, 0x01}),
                              sound_test::ExtensibleBody(2, 48000, 24, 20)}) {
        // An odd-sized chunk before the data.
        std::string path = Write(
            Riff({Chunk("fmt ", body), Chunk("junk", {1, 2, 3}), Chunk("data", {9, 8, 7, 6})}));
        WaveFileReader reader;
        ASSERT_EQ(reader.Open(path.c_str()), S_OK);
        EXPECT_EQ(reader.Format()->cbSize, body.size() - 18);
        EXPECT_EQ(std::memcmp(reader.Format(), body.data(), body.size()), 0);
        EXPECT_EQ(ReadAll(reader, 2), (Bytes{9, 8, 7, 6}));
    }
}

TEST_F(WaveReaderTest, RefusesDamagedFiles) {
    Bytes pcm = FormatBody(WAVE_FORMAT_PCM, 2, 44100, 16);
    Bytes good = Riff({Chunk("fmt ", pcm), Chunk("data", {1, 2, 3, 4})});
    struct Case {
        const char* what;
        Bytes file;
    };
    const Case cases[] = {
        {"empty", {}},
        {"cut inside the RIFF header", Bytes(good.begin(), good.begin() + 10)},
        {"cut inside the format", Bytes(good.begin(), good.begin() + 30)},
        {"cut before the data chunk", Bytes(good.begin(), good.begin() + 36)},
        {"not RIFF", Chunk("RIFX", Bytes(good.begin() + 8, good.end()))},
        {"not WAVE", Riff({Chunk("fmt ", pcm), Chunk("data", {1, 2})}, "AVI ")},
        {"no fmt chunk", Riff({Chunk("data", {1, 2, 3, 4})})},
        {"fmt chunk of 14 bytes",
         Riff({Chunk("fmt ", Bytes(pcm.begin(), pcm.begin() + 14)), Chunk("data", {1, 2})})},
        {"no data chunk", Riff({Chunk("fmt ", pcm), Chunk("LIST", {1, 2, 3, 4})})},
        {"data only after the RIFF chunk ends",
         Riff({Chunk("fmt ", pcm), Chunk("data", {1, 2, 3, 4})}, "WAVE", 4 + 24)},
        {"extra bytes beyond the fmt chunk",
         Riff({Chunk("fmt ", FormatBody(17, 1, 22050, 4, {1, 2}), 18), Chunk("data", {1})})},
        {"extra-size field missing", Riff({Chunk("fmt ", FormatBody(17, 1, 22050, 4))})},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        WaveFileReader reader;
        EXPECT_EQ(reader.Open(Write(test.file).c_str()), E_FAIL);
        EXPECT_EQ(reader.Format(), nullptr);
        EXPECT_EQ(reader.DataSize(), 0u);
    }
    WaveFileReader reader;
    EXPECT_EQ(reader.Open((folder_ / "missing.wav").string().c_str()), E_FAIL);
    EXPECT_EQ(reader.Format(), nullptr);
}

TEST_F(WaveReaderTest, ADataSizeLargerThanTheFileGivesTheSamplesThatAreThere) {
    // The header claims 256 MB; the file holds 6 bytes of samples.
    Bytes file = Riff({Chunk("fmt ", FormatBody(WAVE_FORMAT_PCM, 1, 8000, 8)),
                       Chunk("data", {1, 2, 3, 4, 5, 6}, 0x0FFFFFF0)});
    WaveFileReader reader;
    ASSERT_EQ(reader.Open(Write(file).c_str()), S_OK);
    EXPECT_EQ(reader.DataSize(), 6u);
    EXPECT_EQ(ReadAll(reader, 4), (Bytes{1, 2, 3, 4, 5, 6}));
}

TEST_F(WaveReaderTest, FewerSampleBytesThanTheSmallestBufferAreMadeUpWithSilence) {
    Bytes pcm8 = FormatBody(WAVE_FORMAT_PCM, 1, 8000, 8);
    Bytes pcm16 = FormatBody(WAVE_FORMAT_PCM, 2, 44100, 16);
    struct Case {
        const char* what;
        Bytes file;
        Bytes samples;
    };
    const Case cases[] = {
        {"none", Riff({Chunk("fmt ", pcm16), Chunk("data", {})}), {0, 0, 0, 0}},
        {"three, and the chunk's pad byte is not one of them",
         Riff({Chunk("fmt ", pcm8), Chunk("data", {1, 2, 3})}),
         {1, 2, 3, 0x80}},
        {"two of the 256 MB claimed",
         Riff({Chunk("fmt ", pcm8), Chunk("data", {7, 9}, 0x0FFFFFF0)}),
         {7, 9, 0x80, 0x80}},
        {"four, as many as needed",
         Riff({Chunk("fmt ", pcm16), Chunk("data", {1, 2, 3, 4})}),
         {1, 2, 3, 4}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        WaveFileReader reader;
        ASSERT_EQ(reader.Open(Write(test.file).c_str()), S_OK);
        EXPECT_EQ(reader.DataSize(), static_cast<DWORD>(DSBSIZE_MIN));
        EXPECT_EQ(ReadAll(reader, 3), test.samples);
    }
}

TEST_F(WaveReaderTest, OneReaderServesFileAfterFile) {
    std::string mono = Write(
        Riff({Chunk("fmt ", FormatBody(WAVE_FORMAT_PCM, 1, 8000, 8)), Chunk("data", {1, 2})}));
    std::string stereo = Write(Riff({Chunk("fmt ", FormatBody(WAVE_FORMAT_PCM, 2, 22050, 16)),
                                     Chunk("data", sound_test::Ramp16(3))}));
    WaveFileReader reader;
    ASSERT_EQ(reader.Open(mono.c_str()), S_OK);
    ASSERT_EQ(reader.Open(stereo.c_str()), S_OK);
    EXPECT_EQ(reader.Format()->nChannels, 2);
    EXPECT_EQ(ReadAll(reader, 5), sound_test::Ramp16(3));
    // A failed open leaves nothing of the file before.
    EXPECT_EQ(reader.Open(Write({}).c_str()), E_FAIL);
    EXPECT_EQ(reader.Format(), nullptr);
    DWORD copied = 7;
    BYTE byte;
    EXPECT_EQ(reader.Read(1, &byte, &copied), E_FAIL);
    EXPECT_EQ(copied, 0u);
}

}  // namespace
