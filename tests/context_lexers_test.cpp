// The lexers whose comments are not `//` and `/* */`, or that need context: one case per rule,
// each a source and the comments the lexer must report in it, in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "processing/languages/lexers.h"

namespace {

struct Case {
    std::string_view source;
    std::vector<std::string_view> comments;
};

// With `literals`, the cases list the literals that span lines instead of the comments.
void ExpectComments(CommentLexer lexer, const std::vector<Case>& cases, bool literals = false) {
    for (const Case& c : cases) {
        CommentSpans spans;
        lexer(c.source, spans);
        std::vector<std::string_view> found;
        size_t previousEnd = 0;
        for (const CommentSpan& span : spans) {
            ASSERT_LE(span.end, c.source.size()) << c.source;
            ASSERT_GE(span.begin, previousEnd) << c.source;
            previousEnd = span.end;
            if (span.literal == literals) {
                found.push_back(c.source.substr(span.begin, span.end - span.begin));
            }
        }
        EXPECT_EQ(found, c.comments) << c.source;
    }
}

TEST(ContextLexers, Python) {
    ExpectComments(LexPython, {
                                  {"x = 1  # c\n", {"# c"}},
                                  {"#!/usr/bin/env python\n# c", {"# c"}},
                                  {"# -*- coding: utf-8 -*-\n", {}},
                                  {"#!python\n  # vim: set fileencoding=latin-1 :\n", {}},
                                  {"x = 1\n# coding: utf-8\n", {"# coding: utf-8"}},
                                  {"'#' \"#\" '\\'#' b\"#\" # c", {"# c"}},
                                  {"Rb'\\'#' bR\"#\" F'{x}#' U'#'", {}},
                                  {"if\"x\":'#'", {}},
                                  {"'''a\n# b\n''' \"\"\"doc\"#\"\"\" # c", {"# c"}},
                                  {"'open # c\n# d", {"# c", "# d"}},
                                  {"f\"{d[\"#\"]}\" # c", {"# c"}},
                                  {"f\"{x:#x}{y!r:>{w}}#\"", {}},
                                  {"f\"{{#}}\" # c", {"# c"}},
                                  {"f\"\"\"{x # c\n}\"\"\"", {"# c"}},
                                  {"f\"{f'{y}#'}\" rf'\\{x}#'", {}},
                                  {"f\"\\N{NUMBER SIGN}{x}#\"", {}},
                              });
}

TEST(ContextLexers, Shell) {
    ExpectComments(LexShell, {
                                 {"echo a # c\n", {"# c"}},
                                 {"#!/bin/sh\n# c", {"# c"}},
                                 {"echo a#b $# ${#x} ${x#y} ${x##*/} \\#", {}},
                                 {"echo '#' \"#\" $'\\'#' \"a\\\"#\" \"a\"#b", {}},
                                 {"echo \"a$\"# \"$'\"#", {}},
                                 {"x=$(echo # c\n)#x", {"# c"}},
                                 {"echo \"$(echo \"#\")\" `echo #`", {}},
                                 {"cat <<EOF\n# a\nEOF\n# c", {"# c"}},
                                 {"cat <<-'E F' <<\\X\n\t# a\n\tE F\n# b\nX\n# c", {"# c"}},
                                 {"cat <<\"EOF\" | (cd x # c\n# a\nEOF\n)", {"# c"}},
                                 {"(( x << 2 )) # c\ny=$((1<<2)) # d", {"# c", "# d"}},
                                 {"cat <<<\"#\" # c", {"# c"}},
                                 {"x=$(case y in a) echo;; esac) # c", {"# c"}},
                             });
}

TEST(ContextLexers, Sql) {
    ExpectComments(LexSql,
                   {
                       {"select 1 -- c\n", {"-- c"}},
                       {"/* a /* b */ c */ x", {"/* a /* b */ c */"}},
                       {"/*! kept */ /*+ hint */", {}},
                       {"'--' 'it''s --' \"a--b\" `--`", {}},
                       {"E'\\'--' --c", {"--c"}},
                       {"$$ -- $$ $tag$ /* $tag$", {}},
                       {"$1 -- c", {"-- c"}},
                       {"a$b$ -- c", {"-- c"}},
                       {"# x\nx-1/2", {}},
                       // A `/* */` comment keeps `'a'` and a `'b'` on a later line two
                       // constants: it stays. `--` comments do not: they go.
                       {"x'a' /* c */\n-- d\n'b' /* e */", {"-- d", "/* e */"}},
                       {"'a'\n/* c */ 'b' /* d */ E'e'", {"/* d */"}},
                       {"'a' /* c */ 'b' /* d\n */ 'e', 'a' /* f */ x\n'b' /* g */\n\"\n\"'h'",
                        {"/* c */", "/* f */", "/* g */"}},
                   });
}

TEST(ContextLexers, Html) {
    ExpectComments(
        LexHtml,
        {
            {"<p>a<!-- c -->b</p>", {"<!-- c -->"}},
            {"<a title=\"<!-- x -->\" b='>'>", {}},
            {"<!DOCTYPE html><?xml x?><![CDATA[<!-- x -->]]>", {}},
            {"<textarea><!-- x --></textarea ><!-- c -->", {"<!-- c -->"}},
            {"<!--><!--->", {"<!-->", "<!--->"}},
            {"<!-- a --!> b", {"<!-- a --!>"}},
            {"<script type=\"text/template\"><!-- x --></SCRIPT><!-- c -->", {"<!-- c -->"}},
            {"<script>// c\n</script><style>/* d */</style>", {"// c", "/* d */"}},
            {"<plaintext></plaintext><!-- x -->", {}},
            // SVG's <title> holds markup, and HTML's in it: <textarea> is raw there.
            {"<svg><title><!-- c --><textarea><!-- x --></textarea></title></svg>", {"<!-- c -->"}},
            {"<svg><p><textarea><!-- x --></textarea>", {}},  // <p> ends SVG
            // So does <font> with `color`, `face` or `size`.
            {"<svg><font><textarea><!-- c --></textarea></font><font color=r><textarea><!-- x -->",
             {"<!-- c -->"}},
            // MathML's text elements and its `annotation-xml` for HTML hold HTML.
            {"<math><mi><textarea><!-- x --></textarea></mi><textarea><!-- c --></textarea>",
             {"<!-- c -->"}},
            {"<math><annotation-xml encoding=\"text/html\"><xmp><!-- x --></xmp></annotation-xml>"
             "<annotation-xml><xmp><!-- c --></xmp>",
             {"<!-- c -->"}},
            {"<![CDATA[ > <!-- c --> ]]><svg><![CDATA[<!-- x -->]]></svg>", {"<!-- c -->"}},
            {std::string_view("<svg\0><![CDATA[ > <!-- c --> ]]>", 32), {"<!-- c -->"}},  // not SVG
            // A raw element's end tag closes it alone.
            {"<svg><title><title>a</title><textarea><!-- x --></textarea>", {}},
            // The <b> that </p> closed opens again at `x`; </svg> stops at it.
            {"<svg><title><p><b></p>x</svg></b></title><textarea><!-- x --></textarea>",
             {"<!-- x -->"}},
            {"<<!-- c -->a <!-- d -->", {"<!-- d -->"}},             // not `<a`
            {"<pre><!-- c -->\nx<!-- d --></pre>", {"<!-- d -->"}},  // HTML drops a first line end
        });
}

TEST(ContextLexers, Xml) {
    ExpectComments(LexXml,
                   {
                       {"<!DOCTYPE a [<!-- c --> <!ENTITY e \"<!-- x "
                        "-->\">]><a><![CDATA[<!--]]><!-- d --></a>",
                        {"<!-- c -->", "<!-- d -->"}},
                       {"<?xml version=\"1.0\"?><script><!-- c --></script>", {"<!-- c -->"}},
                   });
}

TEST(ContextLexers, Vue) {
    ExpectComments(
        LexVue,
        {
            {"<template lang=\"pug\">// x <!-- y --></template>", {}},
            {"<template><!-- c --></template>", {"<!-- c -->"}},
            {"<script setup lang=\"ts\">// c\n</script><style lang=\"scss\">/* d */</style>",
             {"// c", "/* d */"}},
        });
}

TEST(ContextLexers, Php) {
    ExpectComments(LexPhp, {
                               {"<!-- html --><?php // c\n", {"// c"}},
                               {"<?php # c\n#[Attr]\n", {"# c"}},
                               {"<?php /* c */ x", {"/* c */"}},
                               {"<?php // c ?> # h", {"// c "}},
                               {"<?php '//' \"#{$a['#']}\" \"${a}#\" `#` # c", {"# c"}},
                               {"<?php <<<EOT\n# x\nEOT;\n// c", {"// c"}},
                               {"<?php <<<EOT\n{$a # c\n}\nEOT;", {"# c"}},
                               {"<?php <<<'EOT'\n  # x\n  EOT, // c", {"// c"}},
                               {"<?= $a /* c */ ?>", {"/* c */"}},
                               {"<?php \"{$a ?> t <?php } # x\" # c", {"# c"}},
                               {"<?xml # x ?><?phpx # y", {}},
                           });
}

// Literals that hold line ends are reported, so that their blank lines stay; code inside them
// (an f-string's field, a `$(…)`) is not part of them.
TEST(ContextLexers, MultiLineLiterals) {
    const bool literals = true;
    ExpectComments(LexPython,
                   {{"x = '''a\n\nb''' 'c'", {"'''a\n\nb'''"}},
                    {"f\"\"\"a\n{x # c\n}\nb\"\"\"", {"\"\"\"a\n{", "\nb\"\"\""}}},
                   literals);
    ExpectComments(LexShell,
                   {{"cat <<EOF # c\na\n\nEOF\n", {"a\n\nEOF"}},
                    {"echo \"a\n$(b # c\n)\n\" '\n'", {"\"a\n", "\n\"", "'\n'"}}},
                   literals);
    ExpectComments(LexSql, {{"select 'a\n\nb', $$\n$$ -- c\n", {"'a\n\nb'", "$$\n$$"}}}, literals);
    ExpectComments(
        LexPhp,
        {{"<?php $a = <<<EOT\n\nEOT;\n\"a\n{$b /* c */}\n\"", {"<<<EOT\n\nEOT", "\"a\n", "\n\""}},
         {"a\n\n<?= $b ?>\n\nc", {"a\n\n", "\n\nc"}}},  // the text outside the tags
        literals);
    ExpectComments(
        LexHtml,
        {{"<a title='a\n\nb'><textarea>\n\n</textarea>", {"'a\n\nb'", "\n\n"}},
         // The text of <pre>, around its comments, markup and all.
         {"<pre>a\n\n<!-- c --><b title='\n'>\n</b></pre>\n\n", {"a\n\n", "<b title='\n'>\n</b>"}},
         {"<!x\n\ny><?x\n\n>", {"<!x\n\ny>", "<?x\n\n>"}},
         {"<pre><p></pre>\n\n", {"<p>"}}},  // </pre> closes the <p> in it too
        literals);
}

}  // namespace
