a/*/bc*/d
//
  	
