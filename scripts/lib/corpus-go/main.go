// corpus-go: compares Go sources with their stripped results by go/scanner's tokens.
//
//	corpus-go [--keep-header] PAIRS_FILE
//
// PAIRS_FILE holds lines "source<TAB>result". For each pair whose tokens differ, or whose result
// still holds a comment that is not a directive or part of a cgo preamble, one line
// "source<TAB>index<TAB>expected<TAB>actual" is printed. Sources that do not scan are skipped.
// With --keep-header, comments before the result's first token may stay.
package main

import (
	"bufio"
	"fmt"
	"go/ast"
	"go/parser"
	"go/scanner"
	"go/token"
	"os"
	"strings"
)

type tok struct {
	tok token.Token
	lit string
}

var keepHeader bool

// The tokens of src without comments, and its comments (with --keep-header, not those before the
// first token); ok is false when src does not scan.
func tokens(src []byte) (toks []tok, comments []string, ok bool) {
	fset := token.NewFileSet()
	file := fset.AddFile("", fset.Base(), len(src))
	var s scanner.Scanner
	errors := 0
	s.Init(file, src, func(token.Position, string) { errors++ }, scanner.ScanComments)
	for {
		_, t, lit := s.Scan()
		if t == token.EOF {
			break
		}
		if t == token.COMMENT {
			if !keepHeader || len(toks) > 0 {
				comments = append(comments, lit)
			}
			continue
		}
		// Raw strings drop carriage returns; so does the compiler.
		toks = append(toks, tok{t, strings.ReplaceAll(lit, "\r", "")})
	}
	return toks, comments, errors == 0
}

func isDirective(c string) bool {
	for _, p := range []string{"//go:", "//line ", "/*line ", "// +build", "//export ", "//extern "} {
		if strings.HasPrefix(c, p) {
			return true
		}
	}
	return false
}

// The comments of src that stay: the cgo preambles above `import "C"`.
func preambles(src []byte) map[string]bool {
	kept := map[string]bool{}
	f, err := parser.ParseFile(token.NewFileSet(), "", src, parser.ParseComments|parser.ImportsOnly)
	if err != nil {
		return kept
	}
	for _, d := range f.Decls {
		g, isGen := d.(*ast.GenDecl)
		if !isGen || g.Tok != token.IMPORT || g.Doc == nil {
			continue
		}
		for _, imported := range g.Specs {
			if imported.(*ast.ImportSpec).Path.Value == `"C"` {
				for _, c := range g.Doc.List {
					kept[c.Text] = true
				}
			}
		}
	}
	return kept
}

func check(source, result string) (string, bool) {
	src, err := os.ReadFile(source)
	if err != nil {
		return "", false
	}
	out, err := os.ReadFile(result)
	if err != nil {
		return "\t-1\tresult\tmissing", true
	}
	want, _, ok := tokens(src)
	if !ok {
		return "", false
	}
	got, comments, _ := tokens(out)
	kept := preambles(src)
	for _, c := range comments {
		if !isDirective(c) && !kept[c] {
			return fmt.Sprintf("\t-1\tno comment\t%q", c), true
		}
	}
	for i := 0; i < len(want) || i < len(got); i++ {
		if i >= len(want) || i >= len(got) || want[i] != got[i] {
			var w, g tok
			if i < len(want) {
				w = want[i]
			}
			if i < len(got) {
				g = got[i]
			}
			return fmt.Sprintf("\t%d\t%v %q\t%v %q", i, w.tok, w.lit, g.tok, g.lit), true
		}
	}
	return "", true
}

func main() {
	args := os.Args[1:]
	if len(args) > 0 && args[0] == "--keep-header" {
		keepHeader, args = true, args[1:]
	}
	pairs, err := os.Open(args[0])
	if err != nil {
		fmt.Fprintln(os.Stderr, err)
		os.Exit(2)
	}
	lines := bufio.NewScanner(pairs)
	for lines.Scan() {
		parts := strings.SplitN(lines.Text(), "\t", 2)
		failure, scanned := check(parts[0], parts[1])
		if !scanned {
			fmt.Printf("%s\tskipped\n", parts[0])
		} else if failure != "" {
			fmt.Printf("%s%s\n", parts[0], failure)
		}
	}
}
