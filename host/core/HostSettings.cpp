#include "HostSettings.h"

HostSettings& HostSettings::current()
{
    static HostSettings settings;
    return settings;
}

QString WebURL() { return HostSettings::current().serverHost; }

int WebPort() { return HostSettings::current().serverPort; }
