# The layers, a folder each; a folder's files include project headers (paths under src/ or
# tools/, e.g. "common/paths.h", <fciv/core/options.h>) only from the folders named after it,
# and never through "../". Included, this file hands each layer's sources to the build as
# LAYER_<first folder> and adds the target `layers`, which checks them at every build; run
# with `cmake -P`, it is that check.
get_filename_component(LAYERS_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(LAYERS_CHECK ${CMAKE_CURRENT_LIST_FILE})

# The includes of `source` that reach outside the folders `allowed`, as "file:line: include …" lines.
function(includes_outside source allowed out)
  list(JOIN allowed "|" pattern)
  list(JOIN allowed ", " shown)
  file(STRINGS ${source} includes ENCODING UTF-8 REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  set(wrong)
  foreach(line ${includes})
    string(REGEX MATCH "include[ \t]*([\"<])([^\">]*)" found "${line}")
    set(delimiter ${CMAKE_MATCH_1})
    string(REPLACE "\\" "/" header "${CMAKE_MATCH_2}")
    string(REGEX MATCH "^[^/]*" first "${header}")
    if(header MATCHES "(^|/)\\.\\.(/|$)")
      set(why "escapes with ../: name it from src/ or tools/")
    elseif(delimiter STREQUAL "\"" OR IS_DIRECTORY ${LAYERS_ROOT}/src/${first} OR IS_DIRECTORY ${LAYERS_ROOT}/tools/${first})
      if(header MATCHES "^(${pattern})/")
        continue()
      endif()
      set(why "reaches outside its layer, which includes from: ${shown}")
    else()
      continue()  # a system header
    endif()
    # Its line: where it stands first as a whole line.
    file(READ ${source} text)
    string(REPLACE "\r" "" text "${text}")
    string(FIND "\n${text}\n" "\n${line}\n" at)
    string(SUBSTRING "${text}" 0 ${at} before)
    string(REGEX MATCHALL "\n" breaks "${before}")
    list(LENGTH breaks number)
    math(EXPR number "${number} + 1")
    file(RELATIVE_PATH name ${LAYERS_ROOT} ${source})
    list(APPEND wrong "${name}:${number}: ${line} ${why}")
  endforeach()
  set(${out} ${wrong} PARENT_SCOPE)
endfunction()

# layer(FOLDERS ALLOWED...): FOLDERS (and their sub-folders) make one layer whose files may include
# from the folders ALLOWED.
function(layer folders)
  set(sources)
  foreach(folder ${folders})
    if(CMAKE_SCRIPT_MODE_FILE)
      file(GLOB_RECURSE found ${LAYERS_ROOT}/${folder}/*.cpp ${LAYERS_ROOT}/${folder}/*.h)
    else()
      file(GLOB_RECURSE found CONFIGURE_DEPENDS ${LAYERS_ROOT}/${folder}/*.cpp ${LAYERS_ROOT}/${folder}/*.h)
    endif()
    list(APPEND sources ${found})
  endforeach()
  if(CMAKE_SCRIPT_MODE_FILE)
    foreach(source ${sources})
      includes_outside(${source} "${ARGN}" wrong)
      set_property(GLOBAL APPEND PROPERTY LAYER_FAULTS ${wrong})
    endforeach()
  else()
    set_property(GLOBAL APPEND PROPERTY LAYER_SOURCES ${sources})
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    list(GET folders 0 name)
    set(LAYER_${name} ${sources} PARENT_SCOPE)
  endif()
endfunction()

layer(src/common                          common)
layer(src/logic                           common logic)
layer(src/win32                           common win32)
layer(src/ui                              common logic win32 ui)
layer("src/app;src/navigation;src/job;src/results"  common logic win32 ui app)
layer(tools/fciv/core                     common fciv/core)
layer(tools/fciv/engine                   common win32 fciv/core fciv/engine)
layer(tools/fciv                          common win32 fciv)

if(CMAKE_SCRIPT_MODE_FILE)
  get_property(faults GLOBAL PROPERTY LAYER_FAULTS)
  if(faults)
    list(REMOVE_DUPLICATES faults)  # tools/fciv holds its sub-folders' files too
    list(JOIN faults "\n" lines)
    message(NOTICE "${lines}")
    message(FATAL_ERROR "A file includes only from the layers below it: see cmake/layers.cmake.")
  endif()
else()
  # The check runs again whenever a layer's file changes; the programs are built after it.
  get_property(sources GLOBAL PROPERTY LAYER_SOURCES)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/layers.checked
                     COMMAND ${CMAKE_COMMAND} -P ${LAYERS_CHECK}
                     COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/layers.checked
                     DEPENDS ${LAYERS_CHECK} ${sources}
                     COMMENT "Checking the layers' includes" VERBATIM)
  add_custom_target(layers DEPENDS ${CMAKE_BINARY_DIR}/layers.checked)
endif()
