# One static library per folder of src/, linking only the layers below it.
# What a layer may include is the union of its own folder and every layer it
# uses, directly or through another; a check that runs whenever one of its
# files changes fails the build on any other include.
#
#   tabrel_layer(<folder> [USES <folder>...] [QT] [EXTRA_SOURCES <file>...])
function(tabrel_layer folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "QT" "" "USES;EXTRA_SOURCES")
  set(allowed ${folder})
  foreach(used IN LISTS arg_USES)
    get_property(used_allowed GLOBAL PROPERTY TABREL_LAYER_ALLOWED_${used})
    if(NOT used_allowed)
      message(FATAL_ERROR "Layer ${folder} uses ${used}, which is not declared before it")
    endif()
    list(APPEND allowed ${used_allowed})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  set_property(GLOBAL PROPERTY TABREL_LAYER_ALLOWED_${folder} ${allowed})

  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp
       ${CMAKE_SOURCE_DIR}/src/${folder}/*.h)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/layer_${folder}.checked)
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
  add_library(tabrel_${folder} STATIC ${sources} ${stamp})
  target_include_directories(tabrel_${folder} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  foreach(used IN LISTS arg_USES)
    target_link_libraries(tabrel_${folder} PUBLIC tabrel_${used})
  endforeach()
endfunction()
