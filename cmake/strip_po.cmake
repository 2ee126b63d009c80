# Copies a PO file without its comment lines (the translators' notes and the places a text is
# used), which the program doesn't read: cmake -DIN=de.po -DOUT=built-in-de.po -P strip_po.cmake
file(READ "${IN}" text)
string(REGEX REPLACE "\r" "" text "${text}")
string(REGEX REPLACE "^#[^\n]*\n" "" text "${text}")
string(REGEX REPLACE "\n#[^\n]*" "" text "${text}")
file(WRITE "${OUT}" "${text}")
