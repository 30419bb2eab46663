# Writes a text file as Notepad on Windows 95 to XP reads it: lines ended by
# CR LF, in code page 1252. Typographic marks become their ASCII forms, "é"
# its 1252 byte, and any other character beyond ASCII "?".
#   cmake -DIN=README.md -DOUT=README.txt -P windows-text.cmake
file(READ ${IN} text)
string(ASCII 233 e_acute)
string(ASCII 194 lead_first)
string(ASCII 244 lead_last)
string(ASCII 128 tail_first)
string(ASCII 191 tail_last)
foreach(pair "—;-" "–;-" "‘;'" "’;'" "“;\"" "”;\"" "…;..." "é;${e_acute}")
  list(GET pair 0 from)
  list(GET pair 1 to)
  string(REPLACE "${from}" "${to}" text "${text}")
endforeach()
string(REGEX REPLACE "[${lead_first}-${lead_last}][${tail_first}-${tail_last}]+" "?" text "${text}")
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUT} "${text}")
