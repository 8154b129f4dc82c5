#!/x
r = /[/]\//g; t = `a${ {b: 1} /* c */}` // d
const e = <a href="//">{/* f */}x // y</a>;
