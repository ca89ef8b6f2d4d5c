#pragma once
// A word of the system for every window of the program: the message performed on each form that
// exists when it is sent (a form freed by an earlier one's handling is skipped).

void PerformOnEveryForm(unsigned Msg);
