// A stand-in for a published installer (test equipment only): a program that
// does nothing but carries a version resource, so that the update's checks
// have a real signed executable of a known version to look at.
int wmain() { return 0; }
