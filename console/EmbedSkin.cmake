# cmake -DIN=desc.dfm -DSKIN=default.skin -DOUT=out.dfm -P EmbedSkin.cmake
# Writes the description IN to OUT with its one marker line replaced by
# SkinData1's SkinStream as stored: the container's length (32-bit little
# endian), then its bytes, in hexadecimal.
set(marker "    SkinStream = {(the default skin, packed at build time)}\n")

file(READ ${IN} text)
string(REPLACE "${marker}" "" rest "${text}")
string(LENGTH "${text}" with)
string(LENGTH "${rest}" without)
string(LENGTH "${marker}" one)
math(EXPR found "(${with} - ${without}) / ${one}")
if(NOT found EQUAL 1)
  message(FATAL_ERROR "${IN}: expected the default-skin marker line once, found it ${found} times")
endif()

file(SIZE ${SKIN} size)
if(size EQUAL 0)
  message(FATAL_ERROR "${SKIN} is empty")
endif()
set(length "")
foreach(shift 0 8 16 24)
  math(EXPR byte "(${size} >> ${shift}) & 255" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${byte}" 2 -1 byte)
  string(LENGTH "${byte}" digits)
  if(digits EQUAL 1)
    set(byte "0${byte}")
  endif()
  string(APPEND length "${byte}")
endforeach()
file(READ ${SKIN} bytes HEX)
string(TOUPPER "${length}${bytes}" hex)

# 32 bytes a line, as descriptions hold binary data.
string(REPEAT "[0-9A-F]" 64 line)
string(REGEX REPLACE "(${line})" "\\1\n      " hex "${hex}")
string(STRIP "${hex}" hex)
string(REPLACE "${marker}" "    SkinStream = {\n      ${hex}}\n" text "${text}")
file(WRITE ${OUT}.tmp "${text}")
file(RENAME ${OUT}.tmp ${OUT})
