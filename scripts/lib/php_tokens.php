<?php
// Prints the tokens of each file named on the command line as one JSON line: PHP's own
// token_get_all, without white space, and the number of comments apart.
foreach (array_slice($argv, 1) as $path) {
    $tokens = [];
    $comments = 0;
    foreach (token_get_all(file_get_contents($path)) as $token) {
        if (!is_array($token)) {
            $tokens[] = ["", $token];
            continue;
        }
        [$id, $text] = $token;
        if ($id === T_COMMENT || $id === T_DOC_COMMENT) {
            $comments++;
        } elseif ($id !== T_WHITESPACE) {
            // The tags take the white space after them; that is not the tag.
            $tag = $id === T_OPEN_TAG || $id === T_CLOSE_TAG || $id === T_OPEN_TAG_WITH_ECHO;
            $tokens[] = [token_name($id), $tag ? rtrim($text) : $text];
        }
    }
    echo json_encode([$tokens, $comments], JSON_INVALID_UTF8_SUBSTITUTE), "\n";
}
