#pragma once

// SIGTERM, SIGINT and SIGHUP as requests to end: from a session or an idle
// daemon, from a terminal's interrupt, from a terminal that closes. Their
// handlers only note the request and wake whoever polls end_request_fd(), so
// the loop ends the saver its own way.

// What becomes of a request the process has not carried out within a
// quarter of a second.
enum class LateEnd {
    waits,       // the loop alone ends the process: an abrupt end could lose something
    ends_with_0, // ended from the signal path, for a process that keeps nothing
};

// From here on; a second call changes nothing.
void watch_end_requests(LateEnd late = LateEnd::waits);
// Readable while an end request waits; -1 when none are watched.
int end_request_fd();
// Whether an end was asked since the last call.
bool take_end_request();
