// The one place where the program's GBK texts and Qt's strings meet.
//
// GB18030 is byte-identical to GBK for every GBK character and also has codes for every other character, so
// whatever the user types or pastes survives as bytes and comes back unchanged. A zero character cannot be
// part of a text and is dropped on the way in.
#pragma once

#include <QString>
#include <QStringView>

#include "text/text.h"

QString toQString(TextView text);
Text fromQString(QStringView string);
