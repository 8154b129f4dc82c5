// Applies an npm comment stripper to a source file or to every source below a folder, writing
// each result under OUTPUT with the same relative path: bench/compare's stand-in for a user's
// script around such a package.
//   node npm_strip.js decomment|strip-comments INPUT OUTPUT
'use strict';
const fs = require('fs');
const path = require('path');

const [tool, input, output] = process.argv.slice(2);
const strip = tool === 'decomment'
    ? (() => { const decomment = require('decomment'); return (text) => decomment.text(text); })()
    : (() => { const strip = require('strip-comments'); return (text) => strip(text, {language: 'c'}); })();
const extensions = new Set(['c', 'h', 'cc', 'cpp', 'cxx', 'c++', 'hh', 'hpp', 'hxx', 'h++', 'inl',
                            'ipp', 'tcc', 'java']);

let failed = 0;
function one(source, target) {
    // latin1 keeps every byte as one character, whatever the file's encoding.
    const text = fs.readFileSync(source, 'latin1');
    let result;
    try {
        result = strip(text);
    } catch (error) {
        ++failed;
        return;
    }
    fs.mkdirSync(path.dirname(target), {recursive: true});
    fs.writeFileSync(target, result, 'latin1');
}
function walk(folder, target) {
    for (const entry of fs.readdirSync(folder, {withFileTypes: true})) {
        const source = path.join(folder, entry.name);
        if (entry.isDirectory()) {
            walk(source, path.join(target, entry.name));
        } else if (entry.isFile() &&
                   extensions.has(path.extname(entry.name).slice(1).toLowerCase())) {
            one(source, path.join(target, entry.name));
        }
    }
}
if (fs.statSync(input).isDirectory()) {
    walk(input, output);
} else {
    one(input, output);
}
if (failed > 0) {
    console.error(`${tool}: ${failed} files could not be processed`);
}
