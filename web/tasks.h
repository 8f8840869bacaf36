// The browser build's program start in short tasks (web/tasks.c).
#ifndef ZORVANE_WEB_TASKS_H
#define ZORVANE_WEB_TASKS_H

// Gives the browser its thread back once the program has run a while.
void yieldIfLong(void);

#endif
