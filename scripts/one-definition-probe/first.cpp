// Defines the same name as second.cpp: the one-definition check must refuse the pair.
int kalDefinedTwice() { return 1; }
