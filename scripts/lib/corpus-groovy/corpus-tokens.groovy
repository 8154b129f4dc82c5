// Compares Groovy sources with their stripped results by the tokens of Groovy's own lexer.
//
//   groovy corpus-tokens.groovy [--keep-header] PAIRS_FILE
//
// The same check and the same lines as corpus-npm/corpus-tokens.mjs: for each pair whose tokens
// differ, or whose result still holds a comment, "source<TAB>index<TAB>expected<TAB>actual";
// "source<TAB>skipped" for a source the parser rejects. A run of line ends is one token: Groovy
// ends a statement at a line end, and one blank line more or less means nothing to it.
import groovy.json.JsonOutput
import org.codehaus.groovy.antlr.parser.GroovyLexer
import org.codehaus.groovy.antlr.parser.GroovyRecognizer
import org.codehaus.groovy.antlr.parser.GroovyTokenTypes

boolean keepHeader = args[0] == "--keep-header"
String pairsFile = args[keepHeader ? 1 : 0]

def parses(String text) {
    try {
        GroovyRecognizer.make(new GroovyLexer(new StringReader(text))).compilationUnit()
        return true
    } catch (Exception ignored) {
        return false
    }
}

def read(String text) {
    def lexer = new GroovyLexer(new StringReader(text.replaceAll(/\r\n?/, "\n")))
    lexer.whitespaceIncluded = true
    def parser = GroovyRecognizer.make(lexer)
    def stream = lexer.plumb()
    def tokens = []
    def comments = []
    for (def token = stream.nextToken(); token.type != GroovyTokenTypes.EOF;
         token = stream.nextToken()) {
        switch (token.type) {
            case [GroovyTokenTypes.SL_COMMENT, GroovyTokenTypes.ML_COMMENT]:
                comments << [text: token.text, lead: tokens.isEmpty()]
                break
            case GroovyTokenTypes.WS:
                break
            case GroovyTokenTypes.NLS:
                if (tokens && tokens[-1] != "NLS") {
                    tokens << "NLS"
                }
                break
            default:
                tokens << "${parser.tokenNames[token.type]} ${token.text}".toString()
        }
    }
    if (tokens && tokens[-1] == "NLS") {
        tokens.remove(tokens.size() - 1)
    }
    return [tokens: tokens, comments: comments]
}

new File(pairsFile).eachLine("UTF-8") { line ->
    if (!line) {
        return
    }
    def (source, result) = line.split("\t")
    def text = new File(source).getText("UTF-8")
    if (!parses(text)) {
        println "${source}\tskipped"
        return
    }
    def before = read(text)
    def after = read(new File(result).getText("UTF-8"))
    def left = after.comments.findAll { !(keepHeader && it.lead) }
    if (left) {
        println "${source}\t-1\tno comment\t${JsonOutput.toJson(left[0].text)}"
        return
    }
    int count = Math.max(before.tokens.size(), after.tokens.size())
    for (int i = 0; i < count; ++i) {
        if (before.tokens[i] != after.tokens[i]) {
            println "${source}\t${i}\t${JsonOutput.toJson(before.tokens[i])}\t" +
                    JsonOutput.toJson(after.tokens[i])
            break
        }
    }
}
