# Fails unless FILE has line ends and each of them is CR LF. Read as hexadecimal, one byte a
# word: a text read drops CR.
file(READ "${FILE}" hex HEX)
string(REGEX REPLACE "(..)" "\\1 " bytes "${hex}")
string(REPLACE "0d 0a " "" rest "${bytes}")
if(rest MATCHES "(^| )0[ad] " OR rest STREQUAL bytes)
    message(FATAL_ERROR "${FILE}: not every line ends in CR LF")
endif()
