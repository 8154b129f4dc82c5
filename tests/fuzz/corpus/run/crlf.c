int a; // x
/* b */
c
