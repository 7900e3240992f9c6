// Our declarations of the part of DirectMusic's performance layer that the game calls: the
// performance that plays, the loader that reads a standard MIDI file into a segment, and the
// segment with its repeats, loop points and parameters. Implemented by platform/dmusic.
#pragma once

#include <dmusicc.h>
#include <objbase.h>
#include <windows.h>

struct IDirectMusicPerformance;
struct IDirectMusicLoader;
struct IDirectMusicSegment;
struct IDirectMusicSegmentState;
typedef IDirectMusicPerformance* LPDIRECTMUSICPERFORMANCE;
typedef IDirectMusicLoader* LPDIRECTMUSICLOADER;
typedef IDirectMusicSegment* LPDIRECTMUSICSEGMENT;
typedef IDirectMusicSegmentState* LPDIRECTMUSICSEGMENTSTATE;
struct IStream;

extern const CLSID CLSID_DirectMusicPerformance;
extern const CLSID CLSID_DirectMusicLoader;
extern const CLSID CLSID_DirectMusicSegment;
extern const IID IID_IDirectMusicPerformance;
extern const IID IID_IDirectMusicLoader;
extern const IID IID_IDirectMusicSegment;
extern const IID IID_IDirectMusicSegmentState;
extern const GUID GUID_StandardMIDIFile;
extern const GUID GUID_Download;
extern const GUID GUID_Unload;

// Music time units to the quarter note.
#define DMUS_PPQ 768
#define DMUS_SEG_REPEAT_INFINITE 0xFFFFFFFF

#define DMUS_MAX_NAME 0x40
#define DMUS_MAX_CATEGORY 0x40
#define DMUS_MAX_FILENAME MAX_PATH

// Valid fields of an object description.
#define DMUS_OBJ_OBJECT 0x001
#define DMUS_OBJ_CLASS 0x002
#define DMUS_OBJ_NAME 0x004
#define DMUS_OBJ_CATEGORY 0x008
#define DMUS_OBJ_FILENAME 0x010
#define DMUS_OBJ_FULLPATH 0x020
#define DMUS_OBJ_URL 0x040
#define DMUS_OBJ_VERSION 0x080
#define DMUS_OBJ_DATE 0x100
#define DMUS_OBJ_LOADED 0x200
#define DMUS_OBJ_MEMORY 0x400
#define DMUS_OBJ_STREAM 0x800

typedef struct _DMUS_VERSION {
    DWORD dwVersionMS;
    DWORD dwVersionLS;
} DMUS_VERSION, *LPDMUS_VERSION;

typedef struct _DMUS_OBJECTDESC {
    DWORD dwSize;
    DWORD dwValidData;
    GUID guidObject;
    GUID guidClass;
    FILETIME ftDate;
    DMUS_VERSION vVersion;
    WCHAR wszName[DMUS_MAX_NAME];
    WCHAR wszCategory[DMUS_MAX_CATEGORY];
    WCHAR wszFileName[DMUS_MAX_FILENAME];
    LONGLONG llMemLength;
    LPBYTE pbMemData;
    IStream* pStream;
} DMUS_OBJECTDESC, *LPDMUS_OBJECTDESC;

struct IDirectMusicSegmentState : IUnknown {
protected:
    ~IDirectMusicSegmentState() = default;
};

struct IDirectMusicSegment : IUnknown {
    STDMETHOD(SetRepeats)(DWORD repeats) PURE;
    STDMETHOD(SetParam)
    (REFGUID type, DWORD groupBits, DWORD index, MUSIC_TIME time, void* param) PURE;
    STDMETHOD(SetLoopPoints)(MUSIC_TIME start, MUSIC_TIME end) PURE;

protected:
    ~IDirectMusicSegment() = default;
};

struct IDirectMusicLoader : IUnknown {
    STDMETHOD(GetObject)(LPDMUS_OBJECTDESC desc, REFIID iid, LPVOID* object) PURE;

protected:
    ~IDirectMusicLoader() = default;
};

struct IDirectMusicPerformance : IUnknown {
    STDMETHOD(Init)(IDirectMusic** directMusic, LPDIRECTSOUND directSound, HWND window) PURE;
    STDMETHOD(PlaySegment)
    (IDirectMusicSegment* segment, DWORD flags, REFERENCE_TIME startTime,
     IDirectMusicSegmentState** segmentState) PURE;
    STDMETHOD(Stop)
    (IDirectMusicSegment* segment, IDirectMusicSegmentState* segmentState, MUSIC_TIME time,
     DWORD flags) PURE;
    STDMETHOD(AddPort)(IDirectMusicPort* port) PURE;
    STDMETHOD(CloseDown)() PURE;

protected:
    ~IDirectMusicPerformance() = default;
};
