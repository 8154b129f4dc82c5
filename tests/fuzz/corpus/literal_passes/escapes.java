class A { // note \u000a static int live = 1;
  String s = "\u0022; // c
  String t = "\\u0022; // c";
  \u002f\u002a x *\u002f int k; /* y \u002a/ int m;
}
