# nlohmann-json and CLI11 are header-only; the cross build takes their headers
# from Debian's packages.  Their own CMake packages would put /usr/include,
# with the system's C library in it, on the compiler's path, so each is
# described here by a package of its own headers alone.
set(TABLOMAT_HEADER_PACKAGES ${CMAKE_BINARY_DIR}/header-packages)

function(tablomat_header_package package target folder)
  set(root ${TABLOMAT_HEADER_PACKAGES}/${package})
  file(MAKE_DIRECTORY ${root}/include)
  file(CREATE_LINK /usr/include/${folder} ${root}/include/${folder} SYMBOLIC)
  file(WRITE ${root}/${package}Config.cmake
       "if(NOT TARGET ${target})\n"
       "  add_library(${target} INTERFACE IMPORTED GLOBAL)\n"
       "  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${root}/include)\n"
       "endif()\n")
  set(${package}_DIR ${root} CACHE PATH "" FORCE)
endfunction()

tablomat_header_package(nlohmann_json nlohmann_json::nlohmann_json nlohmann)
tablomat_header_package(CLI11 CLI11::CLI11 CLI)
