// Our mmio functions: chunks found within their parent and ascended out of with their pad
// byte, the I/O buffer handed out and taken back, seeks, and what they refuse.
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/sound/wave_builder.h"

namespace {

using sound_test::Bytes;
using sound_test::Chunk;

class MmioTest : public testing::Test {
protected:
    void SetUp() override {
        path_ = (std::filesystem::temp_directory_path() /
                 ("parrun-mmio-test-" + std::to_string(::getpid()) + ".riff"))
                    .string();
    }
    void TearDown() override {
        if (file_ != nullptr) mmioClose(file_, 0);
        std::filesystem::remove(path_);
    }
    HMMIO Open(const Bytes& bytes, DWORD flags = MMIO_ALLOCBUF | MMIO_READ) {
        sound_test::WriteFile(path_, bytes);
        file_ = mmioOpenA(path_.data(), nullptr, flags);
        return file_;
    }
    LONG Where() { return mmioSeek(file_, 0, SEEK_CUR); }

    std::string path_;
    HMMIO file_ = nullptr;
};

// RIFF "TEST" { "odd " 3 bytes, LIST "info" { "name" 2 bytes }, "last" 4 bytes } then a
// chunk "past" outside the RIFF chunk.
Bytes Layout() {
    Bytes list = {'i', 'n', 'f', 'o'};
    Bytes name = Chunk("name", {'h', 'i'});
    list.insert(list.end(), name.begin(), name.end());
    Bytes file = sound_test::Riff(
        {Chunk("odd ", {1, 2, 3}), Chunk("LIST", list), Chunk("last", {4, 5, 6, 7})}, "TEST");
    Bytes past = Chunk("past", {8, 9});
    file.insert(file.end(), past.begin(), past.end());
    return file;
}

TEST_F(MmioTest, FindsChunksWithinTheirParentOnly) {
    ASSERT_NE(Open(Layout()), nullptr);
    MMCKINFO riff = {};
    ASSERT_EQ(mmioDescend(file_, &riff, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(riff.ckid, FOURCC_RIFF);
    EXPECT_EQ(riff.fccType, mmioFOURCC('T', 'E', 'S', 'T'));
    EXPECT_EQ(riff.dwDataOffset, 8u);
    EXPECT_EQ(Where(), 12);

    struct Case {
        FOURCC id;
        UINT flags;
        FOURCC type;
        MMRESULT result;
        DWORD dataOffset;
        DWORD size;
    };
    const Case cases[] = {
        {mmioFOURCC('o', 'd', 'd', ' '), MMIO_FINDCHUNK, 0, MMSYSERR_NOERROR, 20, 3},
        // Past the odd chunk and its pad byte.
        {mmioFOURCC('l', 'a', 's', 't'), MMIO_FINDCHUNK, 0, MMSYSERR_NOERROR, 54, 4},
        {0, MMIO_FINDLIST, mmioFOURCC('i', 'n', 'f', 'o'), MMSYSERR_NOERROR, 32, 14},
        {0, MMIO_FINDLIST, mmioFOURCC('n', 'o', 'n', 'e'), MMIOERR_CHUNKNOTFOUND, 0, 0},
        // Inside the LIST chunk, not a chunk of the RIFF form itself.
        {mmioFOURCC('n', 'a', 'm', 'e'), MMIO_FINDCHUNK, 0, MMIOERR_CHUNKNOTFOUND, 0, 0},
        // After the end of the RIFF chunk.
        {mmioFOURCC('p', 'a', 's', 't'), MMIO_FINDCHUNK, 0, MMIOERR_CHUNKNOTFOUND, 0, 0},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.id);
        ASSERT_EQ(mmioSeek(file_, 12, SEEK_SET), 12);
        MMCKINFO chunk = {};
        chunk.ckid = test.id;
        chunk.fccType = test.type;
        ASSERT_EQ(mmioDescend(file_, &chunk, &riff, test.flags), test.result);
        if (test.result != MMSYSERR_NOERROR) continue;
        EXPECT_EQ(chunk.dwDataOffset, test.dataOffset);
        EXPECT_EQ(chunk.cksize, test.size);
        EXPECT_EQ(Where(), static_cast<LONG>(test.dataOffset + (test.flags == MMIO_FINDLIST) * 4));
    }
    // Without a parent, the search runs to the end of the file.
    ASSERT_EQ(mmioSeek(file_, 12, SEEK_SET), 12);
    MMCKINFO odd = {};
    odd.ckid = mmioFOURCC('o', 'd', 'd', ' ');
    ASSERT_EQ(mmioDescend(file_, &odd, nullptr, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    // Ascending skips the pad byte.
    ASSERT_EQ(mmioAscend(file_, &odd, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(Where(), 24);
    // From the start of the file, with no parent, the chunk after the RIFF chunk is found.
    ASSERT_EQ(mmioSeek(file_, 0, SEEK_SET), 0);
    MMCKINFO past = {};
    past.ckid = mmioFOURCC('p', 'a', 's', 't');
    ASSERT_EQ(mmioDescend(file_, &past, nullptr, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(past.dwDataOffset, 66u);
}

TEST_F(MmioTest, AChunkThatClaimsMoreThanTheFileEndsTheSearch) {
    Bytes file = Chunk("huge", {1, 2, 3, 4}, 0xFFFFFFFF);
    Bytes after = Chunk("want", {5, 6});
    file.insert(file.end(), after.begin(), after.end());
    ASSERT_NE(Open(file), nullptr);
    MMCKINFO chunk = {};
    chunk.ckid = mmioFOURCC('w', 'a', 'n', 't');
    EXPECT_EQ(mmioDescend(file_, &chunk, nullptr, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
}

TEST_F(MmioTest, HandsOutItsBufferAndTakesItBack) {
    // Three buffers' worth and a bit, each byte its offset's low byte.
    Bytes bytes(MMIO_DEFAULTBUFFER * 3 + 100);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 13);
    ASSERT_NE(Open(bytes), nullptr);
    char first[10];
    ASSERT_EQ(mmioRead(file_, first, 10), 10);
    MMIOINFO info = {};
    ASSERT_EQ(mmioGetInfo(file_, &info, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(info.cchBuffer, MMIO_DEFAULTBUFFER);
    EXPECT_EQ(info.pchNext - info.pchBuffer, 10);
    // Copy through the buffer to the end, advancing whenever it runs dry.
    Bytes copied(first, first + 10);
    int advances = 0;
    while (true) {
        if (info.pchNext == info.pchEndRead) {
            ASSERT_EQ(mmioAdvance(file_, &info, MMIO_READ), MMSYSERR_NOERROR);
            ++advances;
            if (info.pchNext == info.pchEndRead) break;
            EXPECT_EQ(info.lBufOffset, static_cast<LONG>(copied.size()));
        }
        copied.push_back(static_cast<uint8_t>(*info.pchNext++));
    }
    EXPECT_EQ(copied, bytes);
    EXPECT_EQ(advances, 4);
    ASSERT_EQ(mmioSetInfo(file_, &info, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(Where(), static_cast<LONG>(bytes.size()));
    EXPECT_EQ(mmioRead(file_, first, 10), 0);

    // Handing back a position halfway puts the file there.
    ASSERT_EQ(mmioSeek(file_, 5000, SEEK_SET), 5000);
    ASSERT_EQ(mmioGetInfo(file_, &info, 0), MMSYSERR_NOERROR);
    if (info.pchNext == info.pchEndRead) mmioAdvance(file_, &info, MMIO_READ);
    info.pchNext += 7;
    ASSERT_EQ(mmioSetInfo(file_, &info, 0), MMSYSERR_NOERROR);
    ASSERT_EQ(mmioRead(file_, first, 1), 1);
    EXPECT_EQ(static_cast<uint8_t>(first[0]), static_cast<uint8_t>(5007 * 13));
    // A pointer outside the buffer is refused.
    info.pchNext = info.pchEndRead + 1;
    EXPECT_EQ(mmioSetInfo(file_, &info, 0), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
}

TEST_F(MmioTest, RefusesWhatItCannotDo) {
    MMIOINFO info = {};
    std::string missing = path_ + ".missing";
    EXPECT_EQ(mmioOpenA(missing.data(), &info, MMIO_READ), nullptr);
    EXPECT_EQ(info.wErrorRet, static_cast<UINT>(MMIOERR_FILENOTFOUND));
    ASSERT_NE(Open({1, 2}), nullptr);
    EXPECT_EQ(mmioOpenA(path_.data(), nullptr, MMIO_WRITE), nullptr);
    EXPECT_EQ(mmioOpenA(path_.data(), nullptr, MMIO_CREATE), nullptr);
    ASSERT_EQ(mmioClose(file_, 0), MMSYSERR_NOERROR);
    // The handle is gone: every call on it is refused instead of touching freed memory.
    char byte;
    EXPECT_EQ(mmioClose(file_, 0), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
    EXPECT_EQ(mmioRead(file_, &byte, 1), -1);
    EXPECT_EQ(mmioSeek(file_, 0, SEEK_SET), -1);
    MMCKINFO chunk = {};
    EXPECT_EQ(mmioDescend(file_, &chunk, nullptr, 0), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
    file_ = nullptr;
}

}  // namespace
