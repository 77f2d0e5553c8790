# The web build (emscripten). Every program it makes runs under node with the machine's
# own files (the tests, the tools), except the program itself, which vorla_web_page()
# makes into the page's vorla.js and vorla.wasm.

# The file layer throws CFileException; emscripten's default build aborts on any throw.
add_compile_options(-fexceptions)
add_link_options(-fexceptions -sALLOW_MEMORY_GROWTH=1)

# CMake 3.25 has no whole-archive link feature for Emscripten; its linker takes the GNU
# flags.
if(NOT CMAKE_LINK_LIBRARY_USING_WHOLE_ARCHIVE_SUPPORTED)
  set(CMAKE_LINK_LIBRARY_USING_WHOLE_ARCHIVE
      "LINKER:--whole-archive" "<LINK_ITEM>" "LINKER:--no-whole-archive")
  set(CMAKE_LINK_LIBRARY_USING_WHOLE_ARCHIVE_SUPPORTED TRUE)
endif()

# Node 18 and later fetch the .wasm with their own fetch(), which cannot read a file path.
execute_process(COMMAND node --no-experimental-fetch -e 0 RESULT_VARIABLE VORLA_NODE_FETCH_FLAG
                OUTPUT_QUIET ERROR_QUIET)
if(VORLA_NODE_FETCH_FLAG EQUAL 0)
  set(VORLA_NODE node --no-experimental-fetch)
else()
  set(VORLA_NODE node)
endif()
# emcmake names node with a flag for threads, which this build doesn't use.
set(CMAKE_CROSSCOMPILING_EMULATOR ${VORLA_NODE})
add_link_options(-sENVIRONMENT=node -sEXIT_RUNTIME=1 -sNODERAWFS=1)

# The page's program. Its blocking loops (the main one, the menu's, the dialogs') wait
# through the host's wait, which sleeps with Asyncify; the browser's IndexedDB keeps the
# worlds folder. The stack Asyncify saves holds every frame of the deepest modal loop (a
# message box over the file dialog over the menu).
function(vorla_web_page target)
  set_property(TARGET ${target} PROPERTY LINK_OPTIONS
    -fexceptions -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web -sEXIT_RUNTIME=1
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=262144 -lidbfs.js
    "-sEXPORTED_RUNTIME_METHODS=[FS]")
  set_target_properties(${target} PROPERTIES SUFFIX ".js"
    RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/web)
  # The page itself and its icon, beside the program: the folder is the whole site.
  set(page ${PROJECT_BINARY_DIR}/web)
  set(icon ${PROJECT_SOURCE_DIR}/res/icons/hicolor/32x32/apps/io.github.vorla.Vorla.png)
  add_custom_command(OUTPUT ${page}/index.html ${page}/icon.png
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/web/index.html ${page}/index.html
    COMMAND ${CMAKE_COMMAND} -E copy ${icon} ${page}/icon.png
    DEPENDS ${PROJECT_SOURCE_DIR}/data/web/index.html ${icon}
    VERBATIM)
  add_custom_target(${target}_page ALL DEPENDS ${page}/index.html ${page}/icon.png)
  add_dependencies(${target} ${target}_page)
endfunction()
