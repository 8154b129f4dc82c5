// Judges the SQL lexer's results with PostgreSQL's own scanner (libpg-query): for each line
// "SOURCE\tRESULT" of LIST, prints one JSON line: null when the result's tokens are the source's
// without its comments and it holds no comment but MySQL's `/*! … */` and `/*+ … */`, which stay,
// "skipped" when the scanner cannot read the
// source itself, or what differs.
//
//   node pg_scan_judge.cjs LIST
const fs = require("fs");
const pg = require("libpg-query");
const { judgePairs } = require("./judge_pairs.cjs");

const COMMENTS = new Set(["SQL_COMMENT", "C_COMMENT"]);
const KEPT = /^\/\*[!+]/;

// The tokens without comments. String constants that meet are taken as one, with the white
// space between their quotes left out: PostgreSQL joins two such constants when a line end stands
// between them, and without it a comment between them is a syntax error.
//
// PostgreSQL's scanner (scan.l: {whitespace}, {quotecontinue}) reads a `--` comment as white
// space everywhere, so a constant (`'…'`, `E'…'`, `x'…'`, `b'…'`, `U&'…'`) continues with a `'…'`
// on a later line across such comments. libpg-query's returns them as tokens and never does: the
// tokens are read from the text with its `--` comments blanked out. A `/* */` comment keeps such
// constants apart in both; removing one that leaves a line end between them would join them,
// and nothing but a comment can keep them apart there: that comment is the one allowed to stay.
function tokens(path) {
    const bytes = fs.readFileSync(path);
    // The scanner fails on an empty text, which has no tokens (all the source was comments).
    const scan = (text) => (text.length ? pg.scanSync(text.toString("utf8")).tokens : []);
    const lineComments = scan(bytes).filter((token) => token.tokenName === "SQL_COMMENT");
    const blanked = Buffer.from(bytes);
    for (const token of lineComments) {
        blanked.fill(" ", token.start, token.end);
    }
    const all = scan(blanked);
    const isComment = (token) => COMMENTS.has(token.tokenName) && !KEPT.test(token.text);
    const isConstant = (token) => !COMMENTS.has(token.tokenName) && /^[^']*'.*'$/s.test(token.text);
    // Whether the comment at `k` stands between a constant and a `'` with a line end between them.
    const separates = (k) => {
        let from = k;
        while (from > 0 && COMMENTS.has(all[from - 1].tokenName)) from--;
        let to = k;
        while (to < all.length && COMMENTS.has(all[to].tokenName)) to++;
        if (from === 0 || to === all.length || !isConstant(all[from - 1]) ||
            !all[to].text.startsWith("'")) {
            return false;
        }
        return /[\n\r]/.test(blanked.subarray(all[from - 1].end, all[to].start).toString());
    };
    const code = [];
    let comments = lineComments.length;
    let lastString = false;
    for (let k = 0; k < all.length; k++) {
        const token = all[k];
        if (isComment(token)) {
            comments += separates(k) ? 0 : 1;
            continue;
        }
        const string = token.tokenName === "SCONST";
        if (string && lastString) {
            code[code.length - 1] += token.text;
        } else {
            code.push(`${token.tokenType} ${token.text}`);
        }
        lastString = string;
    }
    return { code: code.map((text) => text.replace(/'\s+'/g, "''")), comments };
}

// The verdict on one pair.
function judge(source, result) {
    let before;
    try {
        before = tokens(source);
    } catch {
        return "skipped";
    }
    try {
        const after = tokens(result);
        const i = before.code.findIndex((token, k) => token !== after.code[k]);
        if (after.comments > 0) {
            return `${after.comments} comments left`;
        }
        if (i >= 0 || after.code.length !== before.code.length) {
            const at = i >= 0 ? i : before.code.length;
            return `token ${at}: source ${before.code[at]}, result ${after.code[at]}`;
        }
    } catch (error) {
        return `result cannot be scanned: ${error.message}`;
    }
    return null;
}

pg.loadModule().then(() => judgePairs(process.argv[2], judge));
