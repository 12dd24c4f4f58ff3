// Holds the compiled resources; the library needs one translation unit.
namespace kal_resources {
int anchor() { return 0; }
}
