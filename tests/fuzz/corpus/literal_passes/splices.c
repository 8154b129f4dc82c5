// one \
  two
// three
#define M(a) a /* x \
 */ + \

"spliced \
// still" L'\'' 0x1'F
#error don't
