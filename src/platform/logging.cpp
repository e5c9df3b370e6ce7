// The logging categories and the names they log under.
#include "platform/logging.h"

Q_LOGGING_CATEGORY(lcApp, "icom.app")
Q_LOGGING_CATEGORY(lcSerial, "icom.serial")
Q_LOGGING_CATEGORY(lcCiv, "icom.civ")
Q_LOGGING_CATEGORY(lcDiscovery, "icom.discovery")
Q_LOGGING_CATEGORY(lcCheck, "icom.check")
Q_LOGGING_CATEGORY(lcRadio, "icom.radio")
Q_LOGGING_CATEGORY(lcShare, "icom.share")
Q_LOGGING_CATEGORY(lcDebugLog, "icom.debuglog")
