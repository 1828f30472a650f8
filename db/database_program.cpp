#include "db/database_program.h"

DatabaseProgram databaseProgram;

void takeMemoryReading() {
    databaseProgram.memoryReading.dwLength = sizeof databaseProgram.memoryReading;
    GlobalMemoryStatus(&databaseProgram.memoryReading);
}
