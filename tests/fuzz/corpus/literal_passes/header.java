/* header
 * kept
 */
class A { String s = """
  /* text */ //
  """; char c = '"'; } // end
