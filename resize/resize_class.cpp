// Placeholder until the resizer lands.
namespace kesto::resize_detail {
int Placeholder() { return 0; }
} // namespace kesto::resize_detail
