// qor_core.h - includes every public header of the library.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_QOR_CORE_H
#define QOR_CORE_QOR_CORE_H

#include "qor_core/std/pitypes.h"
#include "qor_core/std/stdexceptions.h"
#include "qor_core/std/bounds.h"
#include "qor_core/std/arrayproxy.h"
#include "qor_core/std/arraysearch.h"
#include "qor_core/std/array.h"
#include "qor_core/std/arrayref.h"
#include "qor_core/std/vector.h"
#include "qor_core/std/ptrvector.h"
#include "qor_core/std/list.h"
#include "qor_core/std/stack.h"
#include "qor_core/std/pair.h"
#include "qor_core/std/autoptr.h"
#include "qor_core/std/sharedobject.h"
#include "qor_core/std/parentwatch.h"
#include "qor_core/std/asciistring.h"
#include "qor_core/std/constcstringref.h"
#include "qor_core/std/numberconversion.h"
#include "qor_core/std/exception.h"
#include "qor_core/std/exceptions.h"
#include "qor_core/std/tokenizercontext.h"
#include "qor_core/std/tokenizer.h"

#include "qor_core/pi/platform.h"
#include "qor_core/pi/debug.h"

#include "qor_core/rmi/connectable.h"
#include "qor_core/rmi/abstractsignal.h"
#include "qor_core/rmi/abstractslotcall.h"
#include "qor_core/rmi/directlocalslotcall.h"
#include "qor_core/rmi/localsignal.h"
#include "qor_core/rmi/signal.h"
#include "qor_core/rmi/rmiexceptions.h"

#include "qor_core/sa/contextref.h"
#include "qor_core/sa/abstractserializer.h"
#include "qor_core/sa/saexceptions.h"

#include "qor_core/qcs/componentaddr.h"
#include "qor_core/qcs/componentlocation.h"

#include "qor_core/ucs/string.h"
#include "qor_core/ucs/abstractendec.h"
#include "qor_core/ucs/endecutf8.h"
#include "qor_core/ucs/endecutf16.h"
#include "qor_core/ucs/ucsexceptions.h"
#include "qor_core/ucs/limessage.h"
#include "qor_core/ucs/lilocale.h"

#endif // QOR_CORE_QOR_CORE_H
