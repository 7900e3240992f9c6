// The FluidSynth calls the music makes, passed on to the FluidSynth the page loads beside the
// program (page/program.js): a WebAssembly module of its own, with its own memory, so names
// and sample blocks are copied across and its objects are only numbers here. Without it every
// creation fails and the music stays silent, as without a sound font on the desktop.
#include <emscripten.h>
#include <fluidsynth.h>

#include <cstdint>

namespace {

// clang-format off
EM_JS(int, parrun_fluid_call, (const char* name, int a, int b, int c, int d, int e), {
    var fluid = Module.parrunFluid;
    if (!fluid) return -1;
    return fluid["_" + UTF8ToString(name)](a, b, c, d, e) | 0;
});

EM_JS(int, parrun_fluid_present, (), { return Module.parrunFluid ? 1 : 0; });

// A C string copied into the synthesiser's memory; given back with parrun_fluid_free.
EM_JS(int, parrun_fluid_string, (const char* text), {
    var fluid = Module.parrunFluid;
    if (!fluid) return 0;
    var bytes = intArrayFromString(UTF8ToString(text), false);
    var copy = fluid._malloc(bytes.length);
    fluid.HEAPU8.set(bytes, copy);
    return copy;
});

EM_JS(void, parrun_fluid_free, (int pointer), {
    if (Module.parrunFluid && pointer) Module.parrunFluid._free(pointer);
});

EM_JS(int, parrun_fluid_setnum, (int settings, int name, double value), {
    return Module.parrunFluid._fluid_settings_setnum(settings, name, value);
});

EM_JS(void, parrun_fluid_set_rate, (int synth, double rate), {
    Module.parrunFluid._fluid_synth_set_sample_rate(synth, rate);
});

// Renders `frames` interleaved stereo frames into `out`, through a block of the
// synthesiser's own memory kept for the purpose.
EM_JS(int, parrun_fluid_write, (int synth, int frames, float* out), {
    var fluid = Module.parrunFluid;
    var bytes = frames * 8;
    if (!Module.parrunFluidBlock || Module.parrunFluidBlockBytes < bytes) {
        if (Module.parrunFluidBlock) fluid._free(Module.parrunFluidBlock);
        Module.parrunFluidBlock = fluid._malloc(bytes);
        Module.parrunFluidBlockBytes = bytes;
    }
    var block = Module.parrunFluidBlock;
    var result = fluid._fluid_synth_write_float(synth, frames, block, 0, 2, block, 1, 2);
    HEAPF32.set(fluid.HEAPF32.subarray(block >> 2, (block >> 2) + frames * 2), out >> 2);
    return result;
});
// clang-format on

int Call(const char* name, int a = 0, int b = 0, int c = 0, int d = 0, int e = 0) {
    return parrun_fluid_call(name, a, b, c, d, e);
}

int Handle(const void* object) {
    return static_cast<int>(reinterpret_cast<intptr_t>(object));
}

template <typename T>
T* Object(int handle) {
    return reinterpret_cast<T*>(static_cast<intptr_t>(handle));
}

}  // namespace

extern "C" {

fluid_log_function_t fluid_set_log_function(int, fluid_log_function_t, void*) {
    // The synthesiser's messages go to the page's console.
    return nullptr;
}

fluid_settings_t* new_fluid_settings(void) {
    if (!parrun_fluid_present()) return nullptr;
    return Object<fluid_settings_t>(Call("new_fluid_settings"));
}

void delete_fluid_settings(fluid_settings_t* settings) {
    if (settings != nullptr) Call("delete_fluid_settings", Handle(settings));
}

int fluid_settings_setint(fluid_settings_t* settings, const char* name, int value) {
    if (settings == nullptr) return FLUID_FAILED;
    int copy = parrun_fluid_string(name);
    int result = Call("fluid_settings_setint", Handle(settings), copy, value);
    parrun_fluid_free(copy);
    return result;
}

int fluid_settings_setnum(fluid_settings_t* settings, const char* name, double value) {
    if (settings == nullptr) return FLUID_FAILED;
    int copy = parrun_fluid_string(name);
    int result = parrun_fluid_setnum(Handle(settings), copy, value);
    parrun_fluid_free(copy);
    return result;
}

fluid_synth_t* new_fluid_synth(fluid_settings_t* settings) {
    if (settings == nullptr) return nullptr;
    return Object<fluid_synth_t>(Call("new_fluid_synth", Handle(settings)));
}

void delete_fluid_synth(fluid_synth_t* synth) {
    if (synth != nullptr) Call("delete_fluid_synth", Handle(synth));
}

int fluid_synth_sfload(fluid_synth_t* synth, const char* filename, int resetPresets) {
    if (synth == nullptr) return FLUID_FAILED;
    int copy = parrun_fluid_string(filename);
    int result = Call("fluid_synth_sfload", Handle(synth), copy, resetPresets);
    parrun_fluid_free(copy);
    return result;
}

int fluid_synth_program_select(fluid_synth_t* synth, int channel, int font, int bank, int program) {
    return Call("fluid_synth_program_select", Handle(synth), channel, font, bank, program);
}

int fluid_synth_unset_program(fluid_synth_t* synth, int channel) {
    return Call("fluid_synth_unset_program", Handle(synth), channel);
}

int fluid_synth_noteon(fluid_synth_t* synth, int channel, int key, int velocity) {
    return Call("fluid_synth_noteon", Handle(synth), channel, key, velocity);
}

int fluid_synth_noteoff(fluid_synth_t* synth, int channel, int key) {
    return Call("fluid_synth_noteoff", Handle(synth), channel, key);
}

int fluid_synth_key_pressure(fluid_synth_t* synth, int channel, int key, int value) {
    return Call("fluid_synth_key_pressure", Handle(synth), channel, key, value);
}

int fluid_synth_cc(fluid_synth_t* synth, int channel, int controller, int value) {
    return Call("fluid_synth_cc", Handle(synth), channel, controller, value);
}

int fluid_synth_program_change(fluid_synth_t* synth, int channel, int program) {
    return Call("fluid_synth_program_change", Handle(synth), channel, program);
}

int fluid_synth_channel_pressure(fluid_synth_t* synth, int channel, int value) {
    return Call("fluid_synth_channel_pressure", Handle(synth), channel, value);
}

int fluid_synth_pitch_bend(fluid_synth_t* synth, int channel, int value) {
    return Call("fluid_synth_pitch_bend", Handle(synth), channel, value);
}

int fluid_synth_all_sounds_off(fluid_synth_t* synth, int channel) {
    return Call("fluid_synth_all_sounds_off", Handle(synth), channel);
}

void fluid_synth_set_sample_rate(fluid_synth_t* synth, float rate) {
    parrun_fluid_set_rate(Handle(synth), rate);
}

// The music always asks for interleaved stereo in one block (left at 0, right at 1, both
// stepping by 2), the one layout passed on.
int fluid_synth_write_float(fluid_synth_t* synth, int frames, void* left, int leftOffset,
                            int leftStep, void* right, int rightOffset, int rightStep) {
    if (left != right || leftOffset != 0 || rightOffset != 1 || leftStep != 2 || rightStep != 2) {
        return FLUID_FAILED;
    }
    return parrun_fluid_write(Handle(synth), frames, static_cast<float*>(left));
}

}  // extern "C"
