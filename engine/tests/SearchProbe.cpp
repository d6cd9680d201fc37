// A second station and a dump writer for the search tests, on the real library:
//
//   engine_search_probe append <table> <index> <name>
//       opens the table shared with the index in slot 1 and appends a record whose NAME is name
//       (db_insert takes the locks and adds the key); prints "<record number> <error>".
//   engine_search_probe tree <folder>
//       makes four tables in the folder (ORDERS, KEYS with an index on ID, an unnamed one in area 3,
//       GONE), the relations ORDERS -> KEYS (a key of 67 characters), ORDERS -> GONE and
//       KEYS -> area 3, closes GONE and writes the relation tree (db_debuginfo 3).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "vlDB07.h"

namespace {

int Append(const char* table, const char* index, const char* name)
{
    db_set_exclusive(0);
    db_files_open();
    const bool ok = db_use(table, 0, nullptr, 0) && db_set_index_to(1, index) && db_blank() &&
                    db_replace("NAME", name) && db_insert();
    std::printf("%u %u\n", ok ? db_recno() : 0u, db_error());
    return ok ? 0 : 1;
}

// A table of one character field with three records, made in area n.
bool Make(int n, const std::string& folder, const char* file, const char* alias, const char* field)
{
    const std::string path = folder + "\\" + file;
    if (db_select_area(n) != n || !db_define_begin(path.c_str(), 1, alias, 0, 1) ||
        !db_define_field(field, 'C', 5, 0) || !db_define_end())
        return false;
    for (const char* value : {"K1", "K2", "K3"})
        if (!db_blank() || !db_replace(field, value) || !db_insert())
            return false;
    return true;
}

int Tree(const std::string& folder)
{
    db_files_open();
    const std::string longKey = "CUST+'" + std::string(60, 'x') + "'";
    const bool ok = Make(1, folder, "orders.dbf", "ORDERS", "CUST") && Make(2, folder, "keys.dbf", "KEYS", "ID") &&
                    db_index_on(1, "ID", (folder + "\\keys.ntx").c_str(), 0) &&
                    Make(3, folder, "plain.dbf", nullptr, "NAME") && Make(4, folder, "gone.dbf", "GONE", "NAME") &&
                    db_select_area(2) == 2 && db_add_relation(DB_AREAREF(3), "RECNO()") && db_select_area(1) == 1 &&
                    db_add_relation("KEYS", longKey.c_str()) && db_add_relation("GONE", "RECNO()") &&
                    db_select_area(4) == 4 && db_close(3) && db_select_area(1) == 1;
    if (!ok) {
        std::printf("fail %u\n", db_error());
        return 1;
    }
    db_debuginfo(3);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    int result = 2;
    db_job_open();
    if (argc == 5 && std::strcmp(argv[1], "append") == 0)
        result = Append(argv[2], argv[3], argv[4]);
    else if (argc == 3 && std::strcmp(argv[1], "tree") == 0)
        result = Tree(argv[2]);
    else
        std::printf("usage: engine_search_probe append <table> <index> <name> | tree <folder>\n");
    db_close(0);
    db_job_close();
    std::fflush(stdout);
    return result;
}
