# Run at build time for one layer: fails when a file of the layer includes a
# header from a folder the layer may not use, or includes Qt outside the GUI.
#   -DLAYER=name -DALLOWED=a;b;c -DQT_ALLOWED=ON|OFF -DSTAMP=file -DFILES=f1;f2
cmake_minimum_required(VERSION 3.25)

foreach(source IN LISTS FILES)
  file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS lines)
    if(NOT QT_ALLOWED AND line MATCHES "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|Qt)")
      message(FATAL_ERROR "${source}: Qt is included outside src/gui: ${line}")
    endif()
    # The folder is all of the path but the file name: "exchange/formats".
    if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([a-z_/]+)/[^/\"]+\"")
      set(folder "${CMAKE_MATCH_1}")
      if(NOT folder IN_LIST ALLOWED)
        string(REPLACE ";" ", " allowed_text "${ALLOWED}")
        message(FATAL_ERROR "${source}: the ${LAYER} layer may not include ${folder}/ "
                            "(it may include: ${allowed_text})")
      endif()
    endif()
  endforeach()
endforeach()
file(WRITE "${STAMP}" "")
