<p><!-- h --><?php // c ?>
<?php # d
#[A]
$a = "{$b['#']}" . <<<EOT
# x
EOT;
