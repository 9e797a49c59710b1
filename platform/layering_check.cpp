// Linked with one group of the layer and the groups before it: the program
// links only while the group calls nothing of a later group. It never runs.
int main() { return 0; }
