#pragma once

#include <QString>

namespace publisher {

// The publisher's site and contact address.
inline QString webHost() { return QStringLiteral("www.ormandi.example"); }
inline QString webAddress() { return QStringLiteral("http://www.ormandi.example/"); }
inline QString contactEmail() { return QStringLiteral("contact@ormandi.example"); }

} // namespace publisher
