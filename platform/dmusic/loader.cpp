// The loader: reads a standard MIDI file, named relative to the current folder, into a
// segment. It keeps no cache; each GetObject reads the file again.
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <vector>

#include "platform/dmusic/dmusic_objects.h"
#include "platform/music/smf_reader.h"

namespace platform {
namespace {

// The wide file name, up to its terminator or the end of its field, as UTF-8.
std::string FileNameUtf8(const DMUS_OBJECTDESC& desc) {
    std::string name;
    for (size_t i = 0; i < DMUS_MAX_FILENAME && desc.wszFileName[i] != 0; ++i) {
        auto code = static_cast<uint32_t>(desc.wszFileName[i]);
        if (code < 0x80) {
            name += static_cast<char>(code);
        } else if (code < 0x800) {
            name += static_cast<char>(0xC0 | code >> 6);
            name += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            name += static_cast<char>(0xE0 | code >> 12);
            name += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            name += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            name += static_cast<char>(0xF0 | (code >> 18 & 0x07));
            name += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            name += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            name += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return name;
}

bool ReadWholeFile(std::string path, std::vector<uint8_t>& bytes) {
    // Windows separates folders with either slash.
    std::replace(path.begin(), path.end(), '\\', '/');
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    uint8_t block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
        bytes.insert(bytes.end(), block, block + got);
    }
    bool failed = std::ferror(file) != 0;  // a folder opens, but can't be read
    std::fclose(file);
    return !failed;
}

}  // namespace

HRESULT CreateDirectMusicLoader(REFIID iid, void** object) {
    if (iid != IID_IDirectMusicLoader && iid != IID_IUnknown) return E_NOINTERFACE;
    *object = static_cast<IDirectMusicLoader*>(new Loader());
    return S_OK;
}

HRESULT Loader::GetObject(LPDMUS_OBJECTDESC desc, REFIID iid, LPVOID* object) {
    if (object == nullptr || desc == nullptr) return E_POINTER;
    *object = nullptr;
    if (desc->dwSize < offsetof(DMUS_OBJECTDESC, llMemLength)) return E_INVALIDARG;
    if ((desc->dwValidData & DMUS_OBJ_CLASS) == 0 || desc->guidClass != CLSID_DirectMusicSegment) {
        return DMUS_E_LOADER_NOCLASSID;
    }
    if ((desc->dwValidData & (DMUS_OBJ_FILENAME | DMUS_OBJ_FULLPATH)) == 0) {
        return DMUS_E_LOADER_NOFILENAME;
    }
    if (iid != IID_IDirectMusicSegment && iid != IID_IUnknown) return E_NOINTERFACE;
    std::string fileName = FileNameUtf8(*desc);
    std::vector<uint8_t> bytes;
    if (fileName.empty() || !ReadWholeFile(fileName, bytes)) return DMUS_E_LOADER_FAILEDOPEN;
    music::MidiSong song;
    music::SmfError error = music::ReadStandardMidiFile(bytes.data(), bytes.size(), song);
    if (error == music::SmfError::NotMidi) return DMUS_E_UNSUPPORTED_STREAM;
    if (error != music::SmfError::None) return DMUS_E_INVALIDFILE;
    auto loaded = std::make_shared<const music::LoadedSong>(std::move(song));
    *object = static_cast<IDirectMusicSegment*>(new Segment(std::move(loaded), fileName));
    return S_OK;
}

}  // namespace platform
