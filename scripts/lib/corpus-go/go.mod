module corpusgo

go 1.19
