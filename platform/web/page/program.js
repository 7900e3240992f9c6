// The page's side of the web host (web_host.cpp): the canvas, the keyboard, the turns the game
// yields, the sound queue, and the player's saved files in the browser's storage. Run inside
// the program's module, before the game starts.
Module.parrunPage = (function () {
    'use strict';
    var page = {events: [], savesKept: 0, exitCode: null, pictures: 0};
    var canvas = document.getElementById('screen');
    var context = canvas.getContext('2d');
    var note = document.getElementById('sound-note');
    var status = document.getElementById('status');
    var windowWidth = 480, windowHeight = 320, fullScreen = false;
    window.parrunModule = Module;

    // Each picture pixel is shown as a whole number of page pixels, as large as fits.
    function layout() {
        // In a window the page keeps room for its lines under the picture.
        var across = fullScreen ? 0 : 16, down = fullScreen ? 0 : 80;
        var scale = Math.floor(Math.min((window.innerWidth - across) / canvas.width,
                                        (window.innerHeight - down) / canvas.height));
        scale = Math.max(scale, 1);
        canvas.style.width = canvas.width * scale + 'px';
        canvas.style.height = canvas.height * scale + 'px';
    }
    window.addEventListener('resize', layout);

    page.setWindow = function (title, width, height, full) {
        if (title) document.title = title;
        fullScreen = !!full;
        if (!fullScreen && width === 0) { width = windowWidth; height = windowHeight; }
        if (!fullScreen) { windowWidth = width; windowHeight = height; }
        canvas.width = width;
        canvas.height = height;
        document.body.classList.toggle('full-screen', fullScreen);
        // The browser's own full screen too, when it allows it (the key that asked for it is
        // still fresh); otherwise the picture fills what the page has.
        var root = document.documentElement;
        if (fullScreen && !document.fullscreenElement && root.requestFullscreen) {
            root.requestFullscreen().catch(function () {});
        } else if (!fullScreen && document.fullscreenElement && document.exitFullscreen) {
            document.exitFullscreen().catch(function () {});
        }
        layout();
    };
    page.showWindow = function (visible) {
        canvas.style.visibility = visible ? 'visible' : 'hidden';
        if (visible) canvas.focus();
    };
    page.showPointer = function (visible) { canvas.style.cursor = visible ? 'default' : 'none'; };
    page.showPicture = function (rgba, width, height) {
        if (canvas.width !== width || canvas.height !== height) {
            canvas.width = width;
            canvas.height = height;
            layout();
        }
        context.putImageData(new ImageData(new Uint8ClampedArray(rgba), width, height), 0, 0);
        page.pictures += 1;
    };
    // Until the page draws message boxes of its own, the browser's dialogs stand in.
    page.messageBox = function (text, caption, yesNo) {
        if (yesNo) return window.confirm(caption + '\n\n' + text);
        window.alert(caption + '\n\n' + text);
        return true;
    };

    // The game's turn ends by a message, not a timer, so the page's timers never count as
    // nested and are never stretched to four milliseconds.
    var channel = new MessageChannel();
    var wakeUp = null;
    channel.port1.onmessage = function () {
        var resume = wakeUp;
        wakeUp = null;
        if (resume) resume();
    };
    page.yieldTurn = function (milliseconds, resume) {
        wakeUp = resume;
        if (milliseconds <= 0) channel.port2.postMessage(0);
        else setTimeout(function () { channel.port2.postMessage(0); }, milliseconds);
    };

    // Keys: letters and minus by what the layout makes of them, the rest by their place.
    var VK_OEM_MINUS = 189;
    var byPlace = {Enter: 13, NumpadEnter: 13, Space: 32, ArrowLeft: 37, ArrowUp: 38,
                   ArrowRight: 39, ArrowDown: 40, Escape: 27, F4: 115, ShiftLeft: 16,
                   ShiftRight: 16, ControlLeft: 17, ControlRight: 17, CapsLock: 20,
                   Backspace: 8, Tab: 9};
    // The keys the game plays with; the others still do what the browser does with them.
    var owned = {13: true, 32: true, 37: true, 38: true, 39: true, 40: true, 27: true, 115: true};
    owned[VK_OEM_MINUS] = true;
    function virtualKey(event) {
        var key = event.key || '';
        if (key.length === 1) {
            var upper = key.toUpperCase();
            if (upper >= 'A' && upper <= 'Z') return upper.charCodeAt(0);
            // Shift gives the minus key's other character; the game sees the key.
            if (key === '-' || key === '_') return VK_OEM_MINUS;
        }
        // A layout without Latin letters (or an input method's "Process") gives the letter of
        // the key's place.
        var place = /^Key([A-Z])$/.exec(event.code || '');
        if (place && !/^[\x21-\x7e]$/.test(key)) return place[1].charCodeAt(0);
        return byPlace[event.code] || 0;
    }
    function isOwned(key, event) {
        if (event.ctrlKey || event.altKey || event.metaKey) return false;
        return owned[key] || (key >= 65 && key <= 90);
    }
    var held = {};  // the virtual key each held key went down as
    document.addEventListener('keydown', function (event) {
        page.hearSound();
        var key = held[event.code] || virtualKey(event);
        if (!key) return;
        if (isOwned(key, event)) event.preventDefault();
        if (event.repeat || held[event.code]) return;
        held[event.code] = key;
        page.events.push([1, key]);
    });
    document.addEventListener('keyup', function (event) {
        var key = held[event.code] || virtualKey(event);
        delete held[event.code];
        if (!key) return;
        if (isOwned(key, event)) event.preventDefault();
        page.events.push([2, key]);
    });
    function releaseAll() {
        for (var code in held) page.events.push([2, held[code]]);
        held = {};
    }
    window.addEventListener('blur', function () { releaseAll(); page.events.push([4, 0]); });
    window.addEventListener('focus', function () { page.events.push([3, 0]); });
    document.addEventListener('pointerdown', function () { page.hearSound(); });

    // Sound: the game makes it a little ahead of the page's clock; a script node plays the
    // queue. Browsers start sound only after the player's first key or click.
    var audio = null, node = null, queue = [], queueOffset = 0, queuedFrames = 0;
    page.levels = [];  // the loudness of each block played, for tests
    page.missedFrames = 0;  // frames played as silence for want of sound made in time
    page.startAudio = function () {
        var Context = window.AudioContext || window.webkitAudioContext;
        if (!Context) return 0;
        audio = new Context();
        node = audio.createScriptProcessor(2048, 0, 2);
        node.onaudioprocess = function (event) {
            var left = event.outputBuffer.getChannelData(0);
            var right = event.outputBuffer.getChannelData(1);
            var sum = 0;
            for (var i = 0; i < left.length; ++i) {
                var l = 0, r = 0;
                if (!queue.length) page.missedFrames += 1;
                if (queue.length) {
                    var block = queue[0];
                    l = block[queueOffset];
                    r = block[queueOffset + 1];
                    queueOffset += 2;
                    queuedFrames -= 1;
                    if (queueOffset >= block.length) { queue.shift(); queueOffset = 0; }
                }
                left[i] = Math.max(-1, Math.min(1, l));
                right[i] = Math.max(-1, Math.min(1, r));
                sum += l * l + r * r;
            }
            page.levels.push([audio.currentTime, Math.sqrt(sum / (2 * left.length))]);
            if (page.levels.length > 4096) page.levels.shift();
        };
        node.connect(audio.destination);
        audio.onstatechange = page.showSoundNote;
        page.showSoundNote();
        return audio.sampleRate;
    };
    page.stopAudio = function () {
        if (node) node.disconnect();
        if (audio) audio.close();
        audio = node = null;
        queue = [];
        queuedFrames = queueOffset = 0;
    };
    page.queuedFrames = function () { return queuedFrames | 0; };
    page.audioHeard = function () { return !!audio && audio.state === 'running'; };
    page.queueAudio = function (samples) {
        queue.push(samples);
        queuedFrames += samples.length / 2;
        // A page that fell behind (a hidden tab) drops what is late rather than play it late.
        while (queue.length > 1 && queuedFrames > audio.sampleRate / 2) {
            queuedFrames -= (queue[0].length - queueOffset) / 2;
            queue.shift();
            queueOffset = 0;
        }
    };
    page.hearSound = function () {
        if (audio && audio.state === 'suspended') audio.resume();
    };
    page.showSoundNote = function () {
        if (note) note.hidden = page.audioHeard();
    };

    // The player's key.dat and a.dat live in the browser's storage (IndexedDB) under /save;
    // the game reads and writes them in its folder, /data. Each save the game makes (it
    // replaces the file by renaming its new copy over it) is copied to /save and written
    // through at once; a write that fails leaves the stored file as it was.
    var kept = ['key.dat', 'a.dat'];
    page.restoreSaves = function () {
        kept.forEach(function (name) {
            try {
                FS.writeFile('/data/' + name, FS.readFile('/save/' + name));
            } catch (e) {
                // not saved yet
            }
        });
    };
    var again = false;
    page.syncing = false;
    function writeThrough() {
        if (page.syncing) { again = true; return; }
        page.syncing = true;
        FS.syncfs(false, function (error) {
            page.syncing = false;
            if (error) console.error('parrun: the browser\'s storage refused a save', error);
            else page.savesKept += 1;
            if (again) { again = false; writeThrough(); }
        });
    }
    page.keep = function (name) {
        try {
            FS.writeFile('/save/' + name, FS.readFile('/data/' + name));
        } catch (e) {
            console.error('parrun: cannot keep ' + name, e);
            return;
        }
        writeThrough();
    };
    Module.preRun = [].concat(Module.preRun || [], [function () {
        var rename = FS.rename;
        FS.rename = function (from, to) {
            rename.apply(FS, arguments);
            var match = /^\/data\/(key\.dat|a\.dat)$/.exec(PATH_FS.resolve(to));
            if (match) page.keep(match[1]);
        };
        if (Module.parrunSoundFont) ENV.PARRUN_SOUNDFONT = Module.parrunSoundFont;
        FS.mkdir('/save');
        FS.mount(IDBFS, {}, '/save');
        addRunDependency('parrun-saves');
        FS.syncfs(true, function (error) {
            if (error) console.error('parrun: cannot read the browser\'s storage', error);
            removeRunDependency('parrun-saves');
        });
    }]);

    // A page that embeds the game may prepare the game folder (/data) before the game starts,
    // through window.parrunPrepare(FS).
    var initialized = Module.onRuntimeInitialized;
    Module.onRuntimeInitialized = function () {
        if (initialized) initialized();
        if (typeof window.parrunPrepare === 'function') window.parrunPrepare(FS);
    };

    page.ended = function (code) {
        page.exitCode = code;
        if (status) status.textContent = 'The game has ended. Reload the page to play again.';
    };
    if (status) status.textContent = '';
    return page;
})();
