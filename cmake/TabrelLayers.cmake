# One static library per folder of src/, linking only the layers below it. A
# subfolder may be a layer of its own ("exchange/formats", library
# tabrel_exchange_formats); a folder's files are its own, not its subfolders'.
# What a layer may include is the union of its own folder and every layer it
# uses, directly or through another; a check that runs whenever one of its
# files changes fails the build on any other include.
#
#   tabrel_layer(<folder> [USES <folder>...] [QT] [EXTRA_SOURCES <file>...])
function(tabrel_layer folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "QT" "" "USES;EXTRA_SOURCES")
  string(REPLACE "/" "_" name ${folder})
  set(allowed ${folder})
  foreach(used IN LISTS arg_USES)
    string(REPLACE "/" "_" used_name ${used})
    get_property(used_allowed GLOBAL PROPERTY TABREL_LAYER_ALLOWED_${used_name})
    if(NOT used_allowed)
      message(FATAL_ERROR "Layer ${folder} uses ${used}, which is not declared before it")
    endif()
    list(APPEND allowed ${used_allowed})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  set_property(GLOBAL PROPERTY TABREL_LAYER_ALLOWED_${name} ${allowed})

  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp
       ${CMAKE_SOURCE_DIR}/src/${folder}/*.h)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/layer_${name}.checked)
  set(qt_allowed OFF)
  if(arg_QT)
    set(qt_allowed ON)
  endif()
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DLAYER=${folder} "-DALLOWED=${allowed}" -DQT_ALLOWED=${qt_allowed}
            -DSTAMP=${stamp} "-DFILES=${files}" -P ${CMAKE_SOURCE_DIR}/cmake/check_layer.cmake
    DEPENDS ${files} ${CMAKE_SOURCE_DIR}/cmake/check_layer.cmake
    COMMENT "Checking the includes of src/${folder}"
    VERBATIM)
  set(sources ${files} ${arg_EXTRA_SOURCES})
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(tabrel_${name} STATIC ${sources} ${stamp})
  target_include_directories(tabrel_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  foreach(used IN LISTS arg_USES)
    string(REPLACE "/" "_" used_name ${used})
    target_link_libraries(tabrel_${name} PUBLIC tabrel_${used_name})
  endforeach()
endfunction()
