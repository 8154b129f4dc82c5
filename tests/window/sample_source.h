// A small C source with Chinese comments and code, in GBK, and what each stage shows of it.
#pragma once

struct StageTexts {
    const wchar_t* source;
    const wchar_t* afterLineComments;
    const wchar_t* afterBlockComments;
};

inline constexpr char kGbkSource[] =
    "\x2f\x2f\x20\xce\xc4\xbc\xfe\xcd\xb7\xd7\xa2\xca\xcd\x0d\x0a\x23\x69\x6e\x63\x6c\x75\x64\x65"
    "\x20\x3c\x73\x74\x64\x69\x6f\x2e\x68\x3e\x0d\x0a\x0d\x0a\x69\x6e\x74\x20\x6d\x61\x69\x6e\x28"
    "\x29\x20\x7b\x20\x20\x2f\x2f\x20\xd6\xf7\xba\xaf\xca\xfd\x0d\x0a\x20\x20\x20\x20\x70\x72\x69"
    "\x6e\x74\x66\x28\x22\xc4\xe3\xba\xc3\x22\x29\x3b\x20\x20\x2f\x2a\x20\xb4\xf2\xd3\xa1\x20\x2a"
    "\x2f\x0d\x0a\x20\x20\x20\x20\x72\x65\x74\x75\x72\x6e\x20\x30\x3b\x0d\x0a\x7d\x0d\x0a";
inline constexpr char kGbkResult[] =
    "\x23\x69\x6e\x63\x6c\x75\x64\x65\x20\x3c\x73\x74\x64\x69\x6f\x2e\x68\x3e\x0d\x0a\x69\x6e\x74"
    "\x20\x6d\x61\x69\x6e\x28\x29\x20\x7b\x20\x20\x0d\x0a\x20\x20\x20\x20\x70\x72\x69\x6e\x74\x66"
    "\x28\x22\xc4\xe3\xba\xc3\x22\x29\x3b\x20\x20\x20\x20\x20\x20\x72\x65\x74\x75\x72\x6e\x20\x30"
    "\x3b\x0d\x0a\x7d\x0d\x0a";

// As decoded where the ANSI code page is 936, and where it is 1252.
inline constexpr StageTexts kShownUnder936 = {
    L"// \u6587\u4ef6\u5934\u6ce8\u91ca\r\n#include <stdio.h>\r\n\r\nint main() {  // "
    L"\u4e3b\u51fd\u6570\r\n    printf(\"\u4f60\u597d\");  /* \u6253\u5370 */\r\n    return "
    L"0;\r\n}",
    L"#include <stdio.h>\r\nint main() {  \r\n    printf(\"\u4f60\u597d\");  /* \u6253\u5370 "
    L"*/\r\n    return 0;\r\n}",
    L"#include <stdio.h>\r\nint main() {  \r\n    printf(\"\u4f60\u597d\");      return 0;\r\n}"};
inline constexpr StageTexts kShownUnder1252 = {
    L"// \u00ce\u00c4\u00bc\u00fe\u00cd\u00b7\u00d7\u00a2\u00ca\u00cd\r\n#include "
    L"<stdio.h>\r\n\r\nint main() {  // \u00d6\u00f7\u00ba\u00af\u00ca\u00fd\r\n    "
    L"printf(\"\u00c4\u00e3\u00ba\u00c3\");  /* \u00b4\u00f2\u00d3\u00a1 */\r\n    return 0;\r\n}",
    L"#include <stdio.h>\r\nint main() {  \r\n    printf(\"\u00c4\u00e3\u00ba\u00c3\");  /* "
    L"\u00b4\u00f2\u00d3\u00a1 */\r\n    return 0;\r\n}",
    L"#include <stdio.h>\r\nint main() {  \r\n    printf(\"\u00c4\u00e3\u00ba\u00c3\");      "
    L"return 0;\r\n}"};
