#pragma once

// With TZ unset, glibc reads /etc/localtime again for every local-time conversion (about 4 us
// each), which makes a million time lines take seconds. Naming the zone file once keeps it
// loaded. Does nothing where TZ is set or on systems without /etc/localtime.
void keepLocalTimeZoneLoaded();
