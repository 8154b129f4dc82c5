select $$ -- $$, E'\'--', 'a''b' -- c
/* a /* b */ */ /*! kept */
