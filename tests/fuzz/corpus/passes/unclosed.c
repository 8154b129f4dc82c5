f(/* a */ x);
/* never