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
function tokens(path) {
    const code = [];
    let comments = 0;
    let lastString = false;
    const text = fs.readFileSync(path, "utf8");
    // The scanner fails on an empty text, which has no tokens (all the source was comments).
    for (const token of text ? pg.scanSync(text).tokens : []) {
        if (COMMENTS.has(token.tokenName) && !KEPT.test(token.text)) {
            comments++;
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
