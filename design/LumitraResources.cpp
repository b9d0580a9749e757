#include "LumitraResources.h"

#include <QtCore/QtGlobal>
#include <mutex>

static void InitLumitraDLibResources()
{
    Q_INIT_RESOURCE(LumitraDLib);
}

void LumitraDesign::InitResources()
{
    static std::once_flag Once;
    std::call_once(Once, InitLumitraDLibResources);
}
