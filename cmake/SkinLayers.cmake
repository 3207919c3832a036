# The skin engine's layers and the check that keeps them apart. Each layer
# may include its own headers and those of the layers below it, never one of
# a layer above or beside it; portable code includes no Win32 header at all.
# Run as a script (cmake -DLAYER=<layer> -DROOT=<skin folder> -DSTAMP=<file>
# -P SkinLayers.cmake) before a layer's library is compiled: a violation
# fails the build and names the file and both layers.
if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.20)
endif()

# Rank of each layer; a layer sees only lower ranks. menus and adapters share
# one: neither includes the other.
set(skin_layer_rank_portable 0)
set(skin_layer_rank_kernel 1)
set(skin_layer_rank_data 2)
set(skin_layer_rank_menus 3)
set(skin_layer_rank_adapters 3)
set(skin_layer_rank_frame 4)
set(skin_layer_rank_manager 5)

# The headers at the top of skin/ (the bound user32 functions and text
# helpers, the private window messages) are used by every layer above
# portable: they belong to the kernel.
set(skin_layer_top_files SkinApi.h SkinApi.cpp SkinWindowMessages.h)

# The layer of an include path relative to the project ("skin/<layer>/X.h"
# or "skin/X.h"); empty for anything outside the skin engine.
function(skin_layer_of path out)
  set(layer "")
  if(path MATCHES "^skin/([A-Za-z0-9_]+)/")
    set(layer ${CMAKE_MATCH_1})
  elseif(path MATCHES "^skin/([^/]+)$")
    if(CMAKE_MATCH_1 IN_LIST skin_layer_top_files)
      set(layer kernel)
    else()
      set(layer skin)
    endif()
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

# The files of a layer, as paths relative to the skin folder (looked for
# again at build time when the build system lists them).
function(skin_layer_files root layer out)
  if(CMAKE_SCRIPT_MODE_FILE)
    file(GLOB files RELATIVE ${root} ${root}/${layer}/*.h ${root}/${layer}/*.cpp)
  else()
    file(GLOB files CONFIGURE_DEPENDS RELATIVE ${root} ${root}/${layer}/*.h ${root}/${layer}/*.cpp)
  endif()
  if(layer STREQUAL "kernel")
    list(APPEND files ${skin_layer_top_files})
  endif()
  set(${out} "${files}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  if(NOT DEFINED skin_layer_rank_${LAYER})
    message(FATAL_ERROR "SkinLayers.cmake: unknown layer '${LAYER}'")
  endif()
  set(rank ${skin_layer_rank_${LAYER}})
  set(allowed "")
  foreach(other portable kernel data menus adapters frame manager)
    if(other STREQUAL LAYER OR skin_layer_rank_${other} LESS rank)
      list(APPEND allowed ${other})
    endif()
  endforeach()
  list(JOIN allowed ", " allowed)

  set(win32_headers "windows|win[a-z0-9]*|commctrl|commdlg|shellapi|shlobj|shlwapi|mmsystem|ole2|objbase|oleauto|uxtheme|dwmapi|richedit|tchar|imm|usp10|psapi")
  set(faults "")
  skin_layer_files(${ROOT} ${LAYER} files)
  foreach(file IN LISTS files)
    file(STRINGS ${ROOT}/${file} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
      if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
        set(included ${CMAKE_MATCH_1})
        # A path relative to the including file counts as the file it names.
        get_filename_component(dir ${ROOT}/${file} DIRECTORY)
        if(NOT included MATCHES "^skin/" AND EXISTS ${dir}/${included})
          get_filename_component(included ${dir}/${included} ABSOLUTE)
          get_filename_component(project ${ROOT} DIRECTORY)
          file(RELATIVE_PATH included ${project} ${included})
        endif()
        skin_layer_of(${included} target)
        if(target STREQUAL "" OR target STREQUAL LAYER)
          continue()
        endif()
        if(target STREQUAL "skin" OR NOT DEFINED skin_layer_rank_${target}
           OR skin_layer_rank_${target} GREATER rank)
          set(where "above it")
        elseif(skin_layer_rank_${target} EQUAL rank)
          set(where "beside it")
        else()
          continue()
        endif()
        list(APPEND faults "skin/${file}: layer ${LAYER} includes ${included} of layer ${target}, ${where} (${LAYER} may include ${allowed})")
      elseif(LAYER STREQUAL "portable" AND line MATCHES "#[ \t]*include[ \t]*<((${win32_headers})\\.h)>")
        list(APPEND faults "skin/${file}: portable code includes the Win32 header <${CMAKE_MATCH_1}>")
      endif()
    endforeach()
  endforeach()

  if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "Skin layer check failed:\n  ${text}\n")
  endif()
  file(TOUCH ${STAMP})
endif()
