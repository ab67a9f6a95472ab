// The program each layer library is linked into, whole, to prove that everything it calls
// is defined in it or in the layers below.
int main() {
    return 0;
}
