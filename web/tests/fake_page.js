// A web page as the SDL drivers see it, inside node: a window that hands
// out key and focus events, a canvas that keeps what is put on it, and a
// Web Audio context whose processor the test runs by hand.
var pageListeners = {};
globalThis.window = {
  addEventListener: function (type, f) { (pageListeners[type] = pageListeners[type] || []).push(f); },
  removeEventListener: function (type, f) {
    pageListeners[type] = (pageListeners[type] || []).filter(function (g) { return g !== f; });
  },
  AudioContext: function () {
    this.sampleRate = 48000;
    this.state = 'suspended';
    this.destination = {};
    this.resume = function () { this.state = 'running'; };
    this.close = function () { this.state = 'closed'; };
    this.createScriptProcessor = function (frames, inputs, channels) {
      return Module.fakeProcessor = {frames: frames, channels: channels, connect: function () {}, disconnect: function () {}};
    };
  }
};
globalThis.ImageData = function (data, width, height) {
  this.data = data; this.width = width; this.height = height;
};
// Dispatches a page event; true when a driver kept it from the page.
Module.fakeEvent = function (type, init) {
  var e = Object.assign({key: '', code: '', location: 0, repeat: false, prevented: false,
                         preventDefault: function () { this.prevented = true; }}, init);
  (pageListeners[type] || []).forEach(function (f) { f(e); });
  return e.prevented;
};
// The canvas's pixels as R, G, B, A bytes, kept across puts as a canvas does.
Module.canvas = {
  width: 0, height: 0, pixels: null,
  getContext: function () {
    var canvas = this;
    return {putImageData: function (image, dx, dy, x, y, w, h) {
      if (!canvas.pixels || canvas.pixels.length !== canvas.width * canvas.height * 4)
        canvas.pixels = new Uint8Array(canvas.width * canvas.height * 4);
      for (var row = y; row < y + h; row++) {
        var at = (row * image.width + x) * 4;
        canvas.pixels.set(image.data.subarray(at, at + w * 4), (row * canvas.width + x) * 4);
      }
    }};
  }
};
// Runs the processor once; the samples of channel c, frame i, scaled to 16 bits.
Module.fakeAudioBuffer = function () {
  var p = Module.fakeProcessor, channels = [];
  for (var c = 0; c < p.channels; c++) channels.push(new Float32Array(p.frames));
  p.onaudioprocess({outputBuffer: {getChannelData: function (c) { return channels[c]; }}});
  return channels;
};
