#pragma once
// Where the harvests' bytes (pages, addresses, keywords of the engine code) and the window's text meet: the
// system code page both ways, so that page bytes are never re-encoded on their way into a cell.
#include <QString>

#include <string>
#include <string_view>

namespace dorvanel::harvest {

QString FromBytes(std::string_view bytes);
std::string ToBytes(const QString& text);

}  // namespace dorvanel::harvest
