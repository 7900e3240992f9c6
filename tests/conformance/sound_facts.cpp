// DirectSound buffers as the game makes and plays them, the mmio reader over a RIFF WAVE file,
// and the program's own resources.
#include <windows.h>

#include <dsound.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "tests/conformance/facts.h"

namespace {

unsigned Hr(HRESULT result) {
    return static_cast<unsigned>(result);
}

// A PCM WAVE file of 1000 bytes of mono 8-bit samples at 22050 Hz, with a "LIST" chunk between
// "fmt " and "data" that the reader must step over.
void WriteWaveFile(const char* path) {
    std::vector<unsigned char> file;
    auto put = [&](const void* data, size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        file.insert(file.end(), bytes, bytes + size);
    };
    auto put32 = [&](DWORD value) { put(&value, 4); };
    auto put16 = [&](WORD value) { put(&value, 2); };
    put("RIFF", 4);
    put32(4 + 8 + 16 + 8 + 4 + 8 + 1000);
    put("WAVE", 4);
    put("fmt ", 4);
    put32(16);
    put16(1);
    put16(1);
    put32(22050);
    put32(22050);
    put16(1);
    put16(8);
    put("LIST", 4);
    put32(4);
    put("INFO", 4);
    put("data", 4);
    put32(1000);
    for (int i = 0; i < 1000; ++i) file.push_back(static_cast<unsigned char>(i * 7));
    std::FILE* out = std::fopen(path, "wb");
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
}

}  // namespace

void ProbeResources() {
    HRSRC found = FindResourceA(nullptr, "MYPALLET", RT_BITMAP);
    Fact("FindResourceA MYPALLET %d", found != nullptr ? 1 : 0);
    Fact("FindResourceA NOTHERE %d", FindResourceA(nullptr, "NOTHERE", RT_BITMAP) != nullptr);
    if (found == nullptr) return;
    HGLOBAL loaded = LoadResource(nullptr, found);
    const auto* bytes = static_cast<const unsigned char*>(LockResource(loaded));
    Fact("SizeofResource MYPALLET %lu", static_cast<unsigned long>(SizeofResource(nullptr, found)));
    if (bytes == nullptr) return;
    DWORD header = 0, used = 0;
    WORD bits = 0;
    std::memcpy(&header, bytes, 4);
    std::memcpy(&bits, bytes + 14, 2);
    std::memcpy(&used, bytes + 32, 4);
    DWORD sum = 0;
    for (int i = 0; i < 40 + 1024; ++i) sum = sum * 31 + bytes[i];
    Fact("MYPALLET header %lu bits %u colours %lu checksum %08lx",
         static_cast<unsigned long>(header), bits, static_cast<unsigned long>(used),
         static_cast<unsigned long>(sum));
}

void ProbeSound(HWND window) {
    IDirectSound* sound = nullptr;
    Fact("DirectSoundCreate %08x", Hr(DirectSoundCreate(nullptr, &sound, nullptr)));
    if (sound == nullptr) return;
    Fact("SetCooperativeLevel DSSCL_NORMAL %08x",
         Hr(sound->SetCooperativeLevel(window, DSSCL_NORMAL)));
    DSCAPS caps = {};
    caps.dwSize = sizeof caps;
    Fact("GetCaps %08x", Hr(sound->GetCaps(&caps)));
    Fact("SetSpeakerConfig %08x", Hr(sound->SetSpeakerConfig(0x00140004)));

    DSBUFFERDESC primaryDesc = {};
    primaryDesc.dwSize = sizeof primaryDesc;
    primaryDesc.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME;
    IDirectSoundBuffer* primary = nullptr;
    Fact("CreateSoundBuffer primary %08x",
         Hr(sound->CreateSoundBuffer(&primaryDesc, &primary, nullptr)));
    WAVEFORMATEX format = {WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    if (primary != nullptr) Fact("SetFormat %08x", Hr(primary->SetFormat(&format)));

    WAVEFORMATEX effect = {WAVE_FORMAT_PCM, 1, 22050, 22050, 1, 8, 0};
    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = 0x000580E0;
    desc.dwBufferBytes = 1000;
    desc.lpwfxFormat = &effect;
    IDirectSoundBuffer* buffer = nullptr;
    Fact("CreateSoundBuffer secondary %08x", Hr(sound->CreateSoundBuffer(&desc, &buffer, nullptr)));
    if (buffer != nullptr) {
        DSBCAPS bufferCaps = {};
        bufferCaps.dwSize = sizeof bufferCaps;
        HRESULT capsResult = buffer->GetCaps(&bufferCaps);
        Fact("buffer GetCaps %08x bytes %lu", Hr(capsResult),
             static_cast<unsigned long>(bufferCaps.dwBufferBytes));
        void* first = nullptr;
        void* second = nullptr;
        DWORD firstSize = 0, secondSize = 0;
        HRESULT result = buffer->Lock(0, 1000, &first, &firstSize, &second, &secondSize, 0);
        Fact("Lock whole %08x regions %lu %lu", Hr(result), static_cast<unsigned long>(firstSize),
             static_cast<unsigned long>(secondSize));
        if (result == DS_OK) {
            std::memset(first, 0x80, firstSize);
            Fact("Unlock %08x", Hr(buffer->Unlock(first, firstSize, second, secondSize)));
        }
        result = buffer->Lock(900, 200, &first, &firstSize, &second, &secondSize, 0);
        Fact("Lock across the end %08x regions %lu %lu", Hr(result),
             static_cast<unsigned long>(firstSize), static_cast<unsigned long>(secondSize));
        if (result == DS_OK) buffer->Unlock(first, firstSize, second, secondSize);
        Fact("SetVolume -500 %08x", Hr(buffer->SetVolume(-500)));
        LONG volume = 0;
        buffer->GetVolume(&volume);
        Fact("GetVolume %ld", static_cast<long>(volume));
        DWORD status = 0;
        Fact("Stop %08x", Hr(buffer->Stop()));
        Fact("Play %08x", Hr(buffer->Play(0, 0, 0)));
        buffer->GetStatus(&status);
        Fact("playing %d looping %d", (status & DSBSTATUS_PLAYING) != 0,
             (status & DSBSTATUS_LOOPING) != 0);
        Fact("Stop %08x", Hr(buffer->Stop()));
        buffer->GetStatus(&status);
        Fact("playing after Stop %d", (status & DSBSTATUS_PLAYING) != 0);
    }
    Fact("device Release leaves %lu", static_cast<unsigned long>(sound->Release()));
}

void ProbeMmio() {
    WriteWaveFile("conformance.wav");
    Fact("mmioOpenA missing %d", mmioOpenA(const_cast<LPSTR>("missing.wav"), nullptr,
                                           MMIO_ALLOCBUF | MMIO_READ) != nullptr);
    HMMIO file =
        mmioOpenA(const_cast<LPSTR>("conformance.wav"), nullptr, MMIO_ALLOCBUF | MMIO_READ);
    Fact("mmioOpenA %d", file != nullptr ? 1 : 0);
    if (file == nullptr) return;
    MMCKINFO riff = {};
    MMRESULT result = mmioDescend(file, &riff, nullptr, 0);
    Fact("mmioDescend RIFF %u id %08lx size %lu type %08lx offset %lu", result,
         static_cast<unsigned long>(riff.ckid), static_cast<unsigned long>(riff.cksize),
         static_cast<unsigned long>(riff.fccType), static_cast<unsigned long>(riff.dwDataOffset));
    MMCKINFO chunk = {};
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    result = mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK);
    Fact("mmioDescend fmt %u size %lu offset %lu", result, static_cast<unsigned long>(chunk.cksize),
         static_cast<unsigned long>(chunk.dwDataOffset));
    PCMWAVEFORMAT pcm = {};
    Fact("mmioRead 16 gives %ld",
         static_cast<long>(mmioRead(file, reinterpret_cast<HPSTR>(&pcm), 16)));
    Fact("format %u channels %u rate %lu bits %u", pcm.wf.wFormatTag, pcm.wf.nChannels,
         static_cast<unsigned long>(pcm.wf.nSamplesPerSec), pcm.wBitsPerSample);
    Fact("mmioAscend %u", mmioAscend(file, &chunk, 0));
    MMCKINFO missing = {};
    missing.ckid = mmioFOURCC('c', 'u', 'e', ' ');
    Fact("mmioDescend missing chunk %u", mmioDescend(file, &missing, &riff, MMIO_FINDCHUNK));
    Fact("mmioSeek %ld", static_cast<long>(mmioSeek(file, riff.dwDataOffset + 4, SEEK_SET)));
    MMCKINFO data = {};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    result = mmioDescend(file, &data, &riff, MMIO_FINDCHUNK);
    Fact("mmioDescend data %u size %lu offset %lu", result, static_cast<unsigned long>(data.cksize),
         static_cast<unsigned long>(data.dwDataOffset));

    // Reading the samples through the I/O buffer, as the game's reader does.
    MMIOINFO info = {};
    Fact("mmioGetInfo %u", mmioGetInfo(file, &info, 0));
    DWORD sum = 0;
    int copied = 0;
    for (; copied < 1000; ++copied) {
        if (info.pchNext == info.pchEndRead) {
            MMRESULT advanced = mmioAdvance(file, &info, MMIO_READ);
            if (advanced != 0 || info.pchNext == info.pchEndRead) break;
        }
        sum = sum * 31 + static_cast<unsigned char>(*info.pchNext++);
    }
    Fact("read %d sample bytes, checksum %08lx", copied, static_cast<unsigned long>(sum));
    Fact("mmioAdvance at the end %u", mmioAdvance(file, &info, MMIO_READ));
    Fact("at the end %d", info.pchNext == info.pchEndRead ? 1 : 0);
    Fact("mmioSetInfo %u", mmioSetInfo(file, &info, 0));
    Fact("mmioClose %u", mmioClose(file, 0));
}
