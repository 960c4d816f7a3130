#include "core/view/SaveName.h"

namespace {
struct FormatExtension {
    SaveFormat format;
    std::u16string_view key;
};
constexpr FormatExtension Extensions[] = {
    {SaveFormat::Bmp, u".BMP"}, {SaveFormat::Jpeg, u".JPG"}, {SaveFormat::Png, u".PNG"}};

SaveTarget Forced(std::u16string_view name, const FormatExtension& wanted)
{
    std::u16string settled(name);
    if (FormatKey(name) != wanted.key)
        settled += wanted.key;
    return {settled, wanted.format};
}
} // namespace

std::u16string TrimSpaces(std::u16string_view name)
{
    const auto first = name.find_first_not_of(u' ');
    if (first == std::u16string_view::npos)
        return {};
    const auto last = name.find_last_not_of(u' ');
    return std::u16string(name.substr(first, last - first + 1));
}

std::u16string TrimTypedName(std::u16string_view folderAndName)
{
    const std::size_t nameStart = folderAndName.rfind(u'/') + 1;   // npos + 1 is 0: no folder
    const std::u16string name = TrimSpaces(folderAndName.substr(nameStart));
    if (name.empty())
        return {};
    return std::u16string(folderAndName.substr(0, nameStart)) + name;
}

std::u16string FormatKey(std::u16string_view name)
{
    std::u16string key(name.substr(name.size() < 4 ? 0 : name.size() - 4));
    for (char16_t& c : key)
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
    return key;
}

SaveTarget SettleSaveName(std::u16string_view name, std::int32_t filterIndex)
{
    switch (filterIndex) {
    case 2: return Forced(name, Extensions[0]);
    case 3: return Forced(name, Extensions[1]);
    case 4: return Forced(name, Extensions[2]);
    default: break;
    }
    const std::u16string key = FormatKey(name);
    for (const FormatExtension& extension : Extensions)
        if (key == extension.key)
            return {std::u16string(name), extension.format};
    return Forced(name, Extensions[0]);
}
