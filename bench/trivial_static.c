/* Does nothing: what starting any static program costs. */
int main(void) { return 0; }
