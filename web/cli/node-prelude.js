// Runs before the tool's module under Node.js.
var preludePath = require('path');

// The WebAssembly read from beside this file: this emscripten would fetch()
// it where Node has fetch, and Node's fetch reads no local paths.
Module['wasmBinary'] = require('fs').readFileSync(preludePath.join(__dirname, 'tablomat-cli.wasm'));

// This emscripten opens every file as seekable and reads it at a position,
// which Node refuses for a pipe (a FIFO, a shell's <(...)): a stream that
// is no regular file reads where it stands, as the native tool does.
Module['preRun'] = (Module['preRun'] || []).concat(function () {
  var open = FS.open;
  FS.open = function () {
    var stream = open.apply(this, arguments);
    if (stream.nfd !== undefined && !require('fs').fstatSync(stream.nfd).isFile()) stream.seekable = false;
    return stream;
  };
});

// Graphviz (@viz-js/viz, beside this file) for --format svg.  It loads before
// main runs, and only when the command line may ask for SVG: the other
// commands start without its megabyte of WebAssembly.
if (process.argv.slice(2).some(function (arg) { return arg.indexOf('svg') >= 0; })) {
  Module['preRun'] = (Module['preRun'] || []).concat(function () {
    addRunDependency('graphviz');
    require(preludePath.join(__dirname, 'viz.cjs')).instance().then(function (viz) {
      Module['graphviz'] = viz;
      removeRunDependency('graphviz');
    }, function (error) {
      process.stderr.write('tablomat-cli: cannot load Graphviz: ' + error + '\n');
      removeRunDependency('graphviz');
    });
  });
}
