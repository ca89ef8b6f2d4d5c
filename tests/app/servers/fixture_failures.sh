#!/usr/bin/env bash
# fixture_failures.sh PROBE: a step of the scripted server that fails ends the run at once with
# the server's reason, whatever the client is doing (waiting for text that will never come, say),
# and a client that goes in the middle of a step fails that step with its reason.
set -u
here=$(cd "$(dirname "$0")" && pwd)
probe=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/hm-fixture-failures.XXXXXX")
trap 'rm -rf "$work"' EXIT
status=0

# fails NAME REASON [WITH-SERVER ARGUMENTS...]: the run fails, and its report holds REASON.
fails() {
  local name=$1 reason=$2
  shift 2
  if "$here/with-server.sh" "$@" >"$work/$name" 2>&1; then
    echo "$name: the run passed"
    status=1
  elif ! grep -qF -- "$reason" "$work/$name"; then
    echo "$name: the report lacks \"$reason\":"
    tail -n 20 "$work/$name"
    status=1
  else
    echo "$name: fails with \"$reason\""
  fi
}

# The client would wait 600 s: only the fixture's failure can end it in time.
fails RegressionFixtureFailureStopsAWaitingClient "the client is stopped" \
  --ends "$here/scripted.py" "no such step" -- sleep 600
# A fixture gone before the client even started is seen as gone, not waited past; one that ends
# as soon as it has printed its port still gives it.
fails RegressionFixtureEndedBeforeTheClientStarted "the client is stopped" \
  sh -c 'sleep 0.2; echo 1; exit 3' -- sleep 600
fails RegressionFixtureEndedAsItGaveItsPort "the client is stopped" \
  sh -c 'echo 1; exit 3' -- sleep 600
fails UnknownStepNamesItself "FAILED no such step: unknown step" \
  --ends "$here/scripted.py" "no such step" -- sleep 600
# A stamp of 1 us after the clock's start was typed long ago; the probe then waits for text that
# never comes.
fails LineTypedLongAgoIsLate "the line came" \
  --ends "$here/scripted.py" "during 1000 key" -- "$probe" "expect=flood text" "send=key 1" "expect=never"
fails LineWithoutStampIsRefused "the line carries no time stamp" \
  --ends "$here/scripted.py" "during 1000 key" -- "$probe" "expect=flood text" "send=key now" "expect=never"
fails ClientGoneDuringFlood "the client went" \
  --ends "$here/scripted.py" "during 1000 key" -- "$probe" "expect=flood text"
fails ClientGoneDuringExpect "FAILED expect hello: the client went" \
  --ends "$here/scripted.py" "expect hello" -- "$probe"
exit $status
