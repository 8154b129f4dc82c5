#!/bin/sh
echo a#b ${x#y} $(echo # c
) "$(x)"
cat <<-EOF
	# body
	EOF
(( 1 << 2 )) # d
