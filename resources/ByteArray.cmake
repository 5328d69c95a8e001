# veltrane_byte_array(<file> <name> <out-var>): the C++ definition of a const unsigned char
# array named <name> holding the bytes of <file>, sixteen to a line (readable in a debugger).
function(veltrane_byte_array file name out_var)
    file(READ ${file} hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
    string(REPEAT "0x..," 16 line)
    string(REGEX REPLACE "(${line})" "\\1\n" hex "${hex}")
    set(${out_var} "const unsigned char ${name}[${size}] = {\n${hex}\n};\n\n" PARENT_SCOPE)
endfunction()
