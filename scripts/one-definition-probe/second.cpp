// Defines the same name as first.cpp: the one-definition check must refuse the pair.
int kalDefinedTwice() { return 2; }
