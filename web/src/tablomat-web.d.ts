// The module emscripten builds from web/api.cc.
declare const createTablomat: (options?: object) => Promise<any>;
export default createTablomat;
