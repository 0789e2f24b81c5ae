// Runs before the tool's module under Node.js.
var preludePath = require('path');

// The WebAssembly read from beside this file: this emscripten would fetch()
// it where Node has fetch, and Node's fetch reads no local paths.
Module['wasmBinary'] = require('fs').readFileSync(preludePath.join(__dirname, 'tablomat-cli.wasm'));

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
