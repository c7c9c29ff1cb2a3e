// Program entry. The start-up sequence lands here as its subsystems are built.
int main() { return 0; }
