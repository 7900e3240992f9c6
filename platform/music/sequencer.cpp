#include "platform/music/sequencer.h"

#include <algorithm>

namespace platform::music {
namespace {

constexpr uint8_t kSustain = 64;
// Data entry and the parameter numbers it writes to are not settings to put back.
bool IsRestorable(int controller) {
    return controller != 6 && controller != 38 && (controller < 96 || controller > 101);
}

ChannelSettings StartingSettings() {
    ChannelSettings settings;
    settings.controllers[7] = 100;   // volume
    settings.controllers[8] = 64;    // balance
    settings.controllers[10] = 64;   // pan
    settings.controllers[11] = 127;  // expression
    return settings;
}

}  // namespace

std::array<ChannelSettings, 16> SettingsAt(const MidiSong& song, uint32_t tick) {
    std::array<ChannelSettings, 16> channels;
    channels.fill(StartingSettings());
    for (const MidiEvent& event : song.events) {
        ChannelSettings& channel = channels[event.status & 0x0F];
        bool before = event.tick < tick;
        switch (event.status & 0xF0) {
            case 0xB0:
                if (event.data1 >= 120 || !IsRestorable(event.data1)) break;
                channel.controllerUsed.set(event.data1);
                if (before) channel.controllers[event.data1] = event.data2;
                break;
            case 0xC0:
                channel.programUsed = true;
                if (before) channel.program = event.data1;
                break;
            case 0xD0:
                channel.pressureUsed = true;
                if (before) channel.pressure = event.data1;
                break;
            case 0xE0:
                channel.pitchBendUsed = true;
                if (before)
                    channel.pitchBend = static_cast<uint16_t>(event.data1 | event.data2 << 7);
                break;
            default:
                break;
        }
    }
    return channels;
}

void Sequencer::Start(std::shared_ptr<const LoadedSong> song, LoopPlan loop) {
    song_ = std::move(song);
    uint32_t length = song_->song.lengthTicks;
    if (loop.endTick == 0 || loop.endTick > length) loop.endTick = length;
    if (loop.startTick >= loop.endTick) loop.repeats = 0;
    loop_ = loop;
    atLoopStart_ = SettingsAt(song_->song, loop.startTick);
    repeatsLeft_ = loop.repeats;
    next_ = 0;
    rate_ = 0;
    position_ = 0;
    passOffset_ = 0;
    for (auto& notes : held_) notes.reset();
}

void Sequencer::Stop(Synthesiser& synth) {
    synth.Silence();
    song_.reset();
    for (auto& notes : held_) notes.reset();
}

int64_t Sequencer::FrameOf(uint32_t tick) const {
    const TempoMap& tempo = song_->tempo;
    return tempo.FrameAtTime(passOffset_ + tempo.TimeAt(tick), rate_);
}

uint32_t Sequencer::PassEnd() const {
    return repeatsLeft_ > 0 ? loop_.endTick : song_->song.lengthTicks;
}

void Sequencer::Send(Synthesiser& synth, const MidiEvent& event) {
    auto& held = held_[event.status & 0x0F];
    uint8_t kind = event.status & 0xF0;
    if (kind == 0x90 && event.data2 > 0) held.set(event.data1);
    if (kind == 0x80 || (kind == 0x90 && event.data2 == 0)) held.reset(event.data1);
    synth.Send(event.status, event.data1, event.data2);
}

void Sequencer::ReleaseHeldNotes(Synthesiser& synth) {
    for (uint8_t channel = 0; channel < 16; ++channel) {
        for (uint8_t note = 0; note < 128; ++note) {
            if (held_[channel].test(note)) synth.Send(0x80 | channel, note, 0);
        }
        held_[channel].reset();
        synth.Send(0xB0 | channel, kSustain, 0);
    }
}

void Sequencer::JumpToLoopStart(Synthesiser& synth) {
    ReleaseHeldNotes(synth);
    for (uint8_t channel = 0; channel < 16; ++channel) {
        const ChannelSettings& settings = atLoopStart_[channel];
        // Controllers first: the bank select must come before the program change.
        for (uint8_t controller = 0; controller < 120; ++controller) {
            if (settings.controllerUsed.test(controller)) {
                synth.Send(0xB0 | channel, controller, settings.controllers[controller]);
            }
        }
        if (settings.programUsed) synth.Send(0xC0 | channel, settings.program, 0);
        if (settings.pitchBendUsed) {
            synth.Send(0xE0 | channel, settings.pitchBend & 0x7F, settings.pitchBend >> 7);
        }
        if (settings.pressureUsed) synth.Send(0xD0 | channel, settings.pressure, 0);
    }
    const TempoMap& tempo = song_->tempo;
    passOffset_ += tempo.TimeAt(loop_.endTick) - tempo.TimeAt(loop_.startTick);
    const auto& events = song_->song.events;
    next_ = static_cast<size_t>(
        std::lower_bound(events.begin(), events.end(), loop_.startTick,
                         [](const MidiEvent& event, uint32_t tick) { return event.tick < tick; }) -
        events.begin());
    if (repeatsLeft_ != kRepeatForever) --repeatsLeft_;
}

void Sequencer::Finish(Synthesiser& synth) {
    ReleaseHeldNotes(synth);
    song_.reset();
}

void Sequencer::Render(Synthesiser& synth, float* out, int frames, int rate) {
    if (song_ && rate != rate_) {
        if (rate_ != 0) {
            // The mixer changed its rate: carry on from the same moment.
            position_ = position_ * rate / rate_;
        }
        rate_ = rate;
        const TempoMap& tempo = song_->tempo;
        // A loop that lasts no more than a frame would repeat without letting time move on.
        if (tempo.FrameAtTime(tempo.TimeAt(loop_.endTick) - tempo.TimeAt(loop_.startTick), rate) <=
            1) {
            repeatsLeft_ = 0;
        }
    }
    while (frames > 0 && song_) {
        const auto& events = song_->song.events;
        uint32_t passEnd = PassEnd();
        bool lastPass = repeatsLeft_ == 0;
        auto inPass = [&](const MidiEvent& event) {
            return event.tick < passEnd || (lastPass && event.tick == passEnd);
        };
        while (next_ < events.size() && inPass(events[next_]) &&
               FrameOf(events[next_].tick) <= position_) {
            Send(synth, events[next_++]);
        }
        bool eventsLeft = next_ < events.size() && inPass(events[next_]);
        int64_t due = eventsLeft ? FrameOf(events[next_].tick) : FrameOf(passEnd);
        if (!eventsLeft && due <= position_) {
            if (lastPass) {
                Finish(synth);
            } else {
                JumpToLoopStart(synth);
            }
            continue;
        }
        int chunk = static_cast<int>(std::min<int64_t>(frames, due - position_));
        synth.Render(out, chunk, rate);
        out += 2 * chunk;
        frames -= chunk;
        position_ += chunk;
    }
    if (frames > 0) synth.Render(out, frames, rate);
}

}  // namespace platform::music
