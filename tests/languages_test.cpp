#include <gtest/gtest.h>

#include "processing/comment_passes.h"
#include "processing/languages/language_table.h"
#include "processing/languages/lexers.h"

namespace {

struct Case {
    const char* source;
    const char* expected;  // after both passes, literal-aware
};

AnsiText BothPasses(std::string_view source, CommentLexer lexer, bool keepHeader = false) {
    StripOptions options;
    options.literals = true;
    options.keepHeader = keepHeader;
    options.lexer = lexer;
    AnsiText text(source);
    StripLineCommentsInPlace(text, options);
    StripBlockCommentsInPlace(text, options);
    return text;
}

void ExpectAll(CommentLexer lexer, std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(BothPasses(c.source, lexer), c.expected) << c.source;
    }
}

TEST(SpanPasses, RewriteLinesAsTheLiteralPassesDo) {
    // The line pass keeps block comments, the block pass line comments.
    StripOptions options;
    options.literals = true;
    options.lexer = LexGo;
    AnsiText text("a /* b */ // c\n/* d\n\n*/ e");
    StripLineCommentsInPlace(text, options);
    EXPECT_EQ(text, "a /* b */\r\n/* d\r\n*/ e");
    ExpectAll(LexGo, {
                         {"a /* c */b", "a b"},                 // no gluing a and b
                         {"f(/* c */x)", "f(x)"},               // brackets need no space
                         {"a /* x\n y */ b", "a\r\n b"},        // a line end kept
                         {"a\n\n  \t\nb\n", "a\r\nb"},          // blank lines dropped
                         {"a \\\n// c\n\nb", "a \\\r\n\r\nb"},  // but one ends a continued line
                         {"a \\\n// c\n", "a \\\r\n"},          // at the end of the text too
                         {"a  // c\r\nb", "a\r\nb"},            // trailing spaces go
                         {"s := `x\n\n  `  // c", "s := `x\r\n\r\n  `"},  // a literal's lines stay
                         {"\xEF\xBB\xBFx // c", "\xEF\xBB\xBFx"},  // the byte order mark stays
                     });
    EXPECT_EQ(BothPasses("\n// a\n  // b\nx // c\n", LexGo, true), "// a\n  // b\r\nx");
    EXPECT_EQ(BothPasses("/* a\n*/ x /* b */", LexRust, true), "/* a\n*/ x");
    // Text after `?>` that takes the last line end: its blank last line stays through both passes.
    EXPECT_EQ(BothPasses("<?php ?>\n\n", LexPhp), "<?php ?>\r\n");
}

TEST(Languages, Php) {
    ExpectAll(LexPhp, {
                          {"<?php ?# c?>", "<?php ? ?>"},  // not `??` and `>`
                          // `<<<x` and a line end would open a heredoc.
                          {"<?php <<<x// c\n;", "<?php <<<x \r\n;"},
                          {"<?php <<</* c */x\n;", "<?php <<<\r\nx\r\n;"},
                          {"<?php \"${/* c */x}\";", "<?php \"${ x}\";"},  // not the variable $x
                      });
}

TEST(Languages, JavaScript) {
    ExpectAll(LexJavaScript, {
                                 {"x = a /**/ /re/g; // c", "x = a  /re/g;"},  // division
                                 {"x = {}\n/a'/.test(s) // c", "x = {}\r\n/a'/.test(s)"},
                                 {"s = 'a\\\n//'; // c", "s = 'a\\\r\n//';"},
                                 {"e = <><b a={'}'}/>//</> // c", "e = <><b a={'}'}/>//</>"},
                             });
    ExpectAll(LexJavaScript, {
                                 {"#!/usr/bin/env node\nx // c", "#!/usr/bin/env node\r\nx"},
                                 {"r = /\\/\\/[/]x/g; // c", "r = /\\/\\/[/]x/g;"},
                                 {"y = a / b; z = c / d // e", "y = a / b; z = c / d"},
                                 {"return /a\\/*/.test(s) // c", "return /a\\/*/.test(s)"},
                                 {"t = `${a /* c */ + `//${b}`} //`", "t = `${a  + `//${b}`} //`"},
                                 {"e = <a href=\"//x\">// text {/* c */}</a>",
                                  "e = <a href=\"//x\">// text {}</a>"},
                                 {"i++ / 2 // c", "i++ / 2"},
                                 {"m = (1<<n) - 1; // c", "m = (1<<n) - 1;"},
                             });
}

TEST(Languages, TypeScript) {
    ExpectAll(LexTypeScript, {{"/// plain\nx", "x"}});
    ExpectAll(LexTypeScript, {
                                 {"/// <reference path=\"a.d.ts\" />\nx // c",
                                  "/// <reference path=\"a.d.ts\" />\r\nx"},
                                 {"let a = <T>b; // c", "let a = <T>b;"},
                             });
    ExpectAll(LexTsx, {
                          {"const f = <T,>(x: T) => x / 2; // c", "const f = <T,>(x: T) => x / 2;"},
                          {"const e = <b>//</b>; // c", "const e = <b>//</b>;"},
                      });
}

TEST(Languages, Go) {
    ExpectAll(LexGo,
              {
                  {"//line a.go:1\n/*line b.go:2*/x", "//line a.go:1\r\n/*line b.go:2*/x"},
                  {"s := \"a // b\n// c", "s := \"a // b"},  // unclosed: ends at its line's end
                  {"x /* never closed\n// c", "x"},
              });
    ExpectAll(
        LexGo,
        {
            {"s := `/* x */` // c", "s := `/* x */`"},
            {"//go:generate x\n// +build linux\nx // c", "//go:generate x\r\n// +build linux\r\nx"},
            {"// #include <a.h>\nimport \"C\"\n// c", "// #include <a.h>\r\nimport \"C\""},
            {"r := '\"' // c", "r := '\"'"},
        });
}

TEST(Languages, CSharp) {
    ExpectAll(LexCSharp,
              {
                  {"s = \"\"\"\"a\"\"\" //\"\"\"\"; // c", "s = \"\"\"\"a\"\"\" //\"\"\"\";"},
                  {"c = '\"'; // c", "c = '\"';"},
              });
    ExpectAll(LexCSharp, {
                             {"s = @\"a\"\"//\"; // c", "s = @\"a\"\"//\";"},
                             {"s = $\"{a /* c */}//{{\"; // c", "s = $\"{a }//{{\";"},
                             {"s = \"\"\"\n\"//\n\"\"\"; // c", "s = \"\"\"\r\n\"//\r\n\"\"\";"},
                         });
}

TEST(Languages, Rust) {
    ExpectAll(LexRust, {
                           {"c = '\\''; b = b'\"'; // c", "c = '\\''; b = b'\"';"},
                           {"x: &'static str = \"//\"; // c", "x: &'static str = \"//\";"},
                       });
    ExpectAll(LexRust, {
                           {"/* a /* b */ c */ x", " x"},
                           {"s = r##\"\"#//\"##; // c", "s = r##\"\"#//\"##;"},
                           {"fn f<'a>(x: &'a u8) -> char { '\"' } // c",
                            "fn f<'a>(x: &'a u8) -> char { '\"' }"},
                           {"s = \"a\n//\"; // c", "s = \"a\r\n//\";"},
                       });
}

TEST(Languages, KotlinSwiftScalaDartGroovy) {
    ExpectAll(LexSwift, {{"s = ##\"\"#//\"## /* a /* b */ */", "s = ##\"\"#//\"##"}});
    ExpectAll(LexScala, {{"s = s\"\"\"${\"//\"}\n\"\"\" // c", "s = s\"\"\"${\"//\"}\r\n\"\"\""}});
    ExpectAll(LexDart,
              {{"s = r\"\"\"\\\"\"\" + '${'//'}' // c", "s = r\"\"\"\\\"\"\" + '${'//'}'"}});
    ExpectAll(LexGroovy, {{"x = a / b / c // d", "x = a / b / c"}});
    ExpectAll(LexKotlin, {{"s = \"${\"//\"}\" + \"\"\"a\"\"\"\" // c",
                           "s = \"${\"//\"}\" + \"\"\"a\"\"\"\""}});
    ExpectAll(LexSwift,
              {{"s = \"\\(\"//\")\" + #\"\"//\"# // c", "s = \"\\(\"//\")\" + #\"\"//\"#"}});
    ExpectAll(LexScala,
              {{"s = 'a' + 'sym + s\"${\"//\"}\" // c", "s = 'a' + 'sym + s\"${\"//\"}\""}});
    ExpectAll(LexDart, {{"s = r'\\' + '''//\n''' // c", "s = r'\\' + '''//\r\n'''"}});
    ExpectAll(LexGroovy, {{"p = /a\\/\\/b/ // c", "p = /a\\/\\/b/"}});
    ExpectAll(LexGroovy, {{"x = // \" \n/a*/ // c", "x =\r\n/a*/"}});
    ExpectAll(LexSwift, {{"s = #\"\\#\"#//\"# + #\"\\#(a /* )\"# */)\"# // c",
                          "s = #\"\\#\"#//\"# + #\"\\#(a )\"#"}});
}

TEST(Languages, StyleSheetsAndJson) {
    ExpectAll(LexHtml, {{"<p>a<!-- b\n -->c <!-- d -->e", "<p>ac e"}});  // text stays as it was
    ExpectAll(LexHtml, {{"<pre>a <!-- c --> \n\n</pre>", "<pre>a  \r\n\r\n</pre>"}});  // all of it
    ExpectAll(LexCss, {{"a::after { content: \"/*\" } /* c */", "a::after { content: \"/*\" }"}});
    ExpectAll(LexScss, {{"a { b: \"//\"; } // c", "a { b: \"//\"; }"}});
    ExpectAll(LexCss, {{"a { b: url(//x) } /* c */", "a { b: url(//x) }"}});
    ExpectAll(LexScss, {{"a { b: url(http://x); } // c", "a { b: url(http://x); }"}});
    ExpectAll(LexJson, {{"{\"a\": \"//\" /* c */}", "{\"a\": \"//\" }"}});
}

TEST(LanguageTable, FindsTheLanguageByExtensionNameOrInterpreter) {
    const auto nameOf = [](const wchar_t* path, std::string_view text = {}) {
        const Language* language = LanguageOfFile(path, text);
        return language ? language->name : std::string_view("none");
    };
    EXPECT_EQ(nameOf(L"C:\\src\\App.TSX"), "tsx");
    EXPECT_EQ(nameOf(L"ci/Jenkinsfile"), "groovy");
    EXPECT_EQ(nameOf(L"bin/tool", "#!/usr/bin/env -S node --flag\n"), "javascript");
    EXPECT_EQ(nameOf(L"which.debianutils", "#!/bin/sh\n"), "shell");
    EXPECT_EQ(nameOf(L"notes.txt", "plain text\n"), "none");
    EXPECT_EQ(nameOf(L"Main.java"), "java");
    EXPECT_EQ(LanguageNamed("Go")->lexer, LexGo);
    // Plain mode reads // and /* */ languages with the plain passes, CSS with its lexer.
    StripOptions options;
    UseLanguage(*LanguageNamed("css"), options);
    AnsiText css("a { b: url(//x) }");
    StripLineCommentsInPlace(css, options);
    EXPECT_EQ(css, "a { b: url(//x) }");
}

}  // namespace
