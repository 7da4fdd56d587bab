// The throw family of the platform namespace: class and message of each.
#include "qor_core/pi/piexceptions.h"
#include "std/testutil.h"

using qpi::cPIExceptions;

TEST(PIExceptions, ThrowFamily)
{
    qortest::expectThrownChains({
        {"unimplemented", [] { cPIExceptions::throwUnimplemented("mmap"); },
         "cUnsupportedPlatformException: Operation (\"mmap\") not supported for this platform!"},
        {"cwd", [] { cPIExceptions::throwUnableGetCWD(); },
         "cRuntimeException: Unable to find out current working directory!"},
        {"os path", [] { cPIExceptions::throwUnableGetOSSpecificPath(); },
         "cRuntimeException: Unable to find out os specific path!"},
        {"copy", [] { cPIExceptions::throwRunnableNotCopyable(); },
         "cBugException: Threads could not be copied!"},
        {"assign", [] { cPIExceptions::throwRunnableNotAssignable(); },
         "cBugException: Threads could not be assigned!"},
    });
}
