//go:build x
/* a
*/ s := `/*` // c
// #include <a.h>
import "C"
