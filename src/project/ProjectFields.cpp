#include "project/ProjectFields.h"

#include <array>
#include <type_traits>

namespace ardelon {
namespace {

constexpr int visitedFieldCount() {
    int count = 0;
    forEachProjectField([&count](const auto&) { ++count; });
    return count;
}
static_assert(visitedFieldCount() == kProjectFieldCount);

// Binds every member of CStenorDoc: a field added to (or removed from) the class fails to build
// here until this binding, kProjectFieldCount and forEachProjectField name it.
[[maybe_unused]] void bindsEveryField(CStenorDoc& doc) {
    [[maybe_unused]] auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15,
                            f16, f17, f18, f19, f20, f21, f22, f23, f24, f25, f26, f27, f28, f29,
                            f30, f31, f32, f33, f34, f35, f36, f37, f38, f39, f40, f41, f42, f43,
                            f44, f45, f46, f47, f48, f49, f50, f51, f52, f53, f54, f55, f56, f57,
                            f58, f59, f60, f61, f62] = doc;
    static_assert(kProjectFieldCount == 63);
}

template <class T>
struct IsArray : std::false_type {};
template <class T, std::size_t N>
struct IsArray<std::array<T, N>> : std::true_type {};

}  // namespace

std::vector<std::string> differingFields(const CStenorDoc& a, const CStenorDoc& b) {
    std::vector<std::string> names;
    forEachProjectField([&](const auto& field) {
        const auto& x = a.*field.member;
        const auto& y = b.*field.member;
        if (x == y)
            return;
        std::string name = field.name;
        if constexpr (IsArray<std::decay_t<decltype(x)>>::value) {
            for (std::size_t i = 0; i < x.size(); ++i) {
                if (!(x[i] == y[i])) {
                    name += "[" + std::to_string(i) + "]";
                    break;
                }
            }
        }
        names.push_back(std::move(name));
    });
    return names;
}

}  // namespace ardelon
