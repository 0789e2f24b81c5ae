# The web edition's tests, run by ctest on what `make web` built in
# TABLOMAT_WEB_BUILD: the page's code alone, the tool under Node.js against
# this build's native tool, and the site in headless Chromium.
set(TABLOMAT_WEB_BUILD ${PROJECT_SOURCE_DIR}/build-web CACHE PATH "Where make web builds the web edition")
find_program(TABLOMAT_NODE node)
if(NOT TABLOMAT_NODE)
  set(TABLOMAT_NODE node)  # installed by make web, after this configuration
endif()
set(web ${PROJECT_SOURCE_DIR}/web)

add_test(NAME web_unit COMMAND ${TABLOMAT_NODE} node_modules/vitest/vitest.mjs run src WORKING_DIRECTORY ${web})
add_test(NAME web_e2e COMMAND ${TABLOMAT_NODE} --test test/e2e.test.mjs WORKING_DIRECTORY ${web})
set_tests_properties(web_unit web_e2e PROPERTIES TIMEOUT 600 ENVIRONMENT "TABLOMAT_WEB_BUILD=${TABLOMAT_WEB_BUILD}")
set_tests_properties(web_e2e PROPERTIES PROCESSORS 2)
if(TABLOMAT_CLI)
  add_test(NAME web_node_cli COMMAND ${TABLOMAT_NODE} --test test/node-cli.test.mjs WORKING_DIRECTORY ${web})
  set_tests_properties(web_node_cli PROPERTIES TIMEOUT 900 PROCESSORS 2 ENVIRONMENT
                       "TABLOMAT_WEB_BUILD=${TABLOMAT_WEB_BUILD};TABLOMAT_NATIVE_CLI=$<TARGET_FILE:tablomat-cli>")
endif()
