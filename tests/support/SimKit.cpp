// Builders of synthetic simulation files live in the folders beside this one.
namespace vra::simkit {
int Version() { return 1; }
}
