#pragma once
// The two pages the desktop client asks for:
//   GET /qwg/chazhao.php?w=QUESTION     the search reply (text/plain, UTF-8)
//   GET /qwg/indexchaxun.php?id=ID      the answer page (text/html, UTF-8), 404 when unknown

#include "QuestionBank.h"

#include <httplib.h>

namespace ql::qbank {

// Serves the bank through the server; replies list at most rowLimit questions. The bank must
// outlive the server.
void installRoutes(httplib::Server& server, const QuestionBank& bank, int rowLimit);

}  // namespace ql::qbank
