<T,>(x: T) => <b>//</b>; /// <reference path="x" />
