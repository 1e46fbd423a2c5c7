# Turns a binary file into a C++ source that defines it as a byte array.
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -DNAMESPACE=ns -P embed.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}" "// Generated from ${INPUT}; do not edit.\n#include <cstddef>\n#include <cstdint>\n\nnamespace ${NAMESPACE} {\nextern const std::uint8_t ${SYMBOL}[${size}];\nconst std::uint8_t ${SYMBOL}[${size}] = {\n${bytes}};\nextern const std::size_t ${SYMBOL}_size = ${size};\n}\n")
