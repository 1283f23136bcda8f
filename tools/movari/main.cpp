// The companion program that the colouring book starts when it starts. It has nothing to do
// on this system, so it ends at once with success.
int main() { return 0; }
