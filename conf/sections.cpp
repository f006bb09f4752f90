#include "internal.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>

void conf_free_list(char **list)
{
    if (!list)
        return;
    for (char **item = list; *item; ++item)
        free(*item);
    free(list);
}

char **add_string(char ***list, const char *text)
{
    size_t count = 0;
    if (*list)
        while ((*list)[count])
            ++count;
    char **grown = static_cast<char **>(realloc(*list, (count + 2) * sizeof(char *)));
    char *copy = grown ? strdup(text) : nullptr;
    if (!copy) {
        conf_set_error(CONF_ERR_FATAL, "add_string()");
        if (grown) {
            grown[count] = nullptr;
            *list = grown;
        }
        conf_free_list(*list);
        *list = nullptr;
        return nullptr;
    }
    grown[count] = copy;
    grown[count + 1] = nullptr;
    *list = grown;
    return grown;
}

/* Appends a copy of each text to an empty list slot. Returns false after releasing it. */
static bool copyTexts(char ***list, const char *const *texts)
{
    for (; texts && *texts; ++texts)
        if (!add_string(list, *texts))
            return false;
    return true;
}

/* Stores a copy of text (null stays null) in place of the slot's old string. */
static bool replaceString(ConfVar *var, const char *text)
{
    char *copy = nullptr;
    if (text && !(copy = strdup(text))) {
        conf_set_error(CONF_ERR_FATAL, "strdup()");
        return false;
    }
    free(var->value.string);
    var->value.string = copy;
    return true;
}

static void setBoolean(ConfVar *var, bool value)
{
    var->value.word = 0;
    var->value.boolean = value;
}

int conf_copy_defaults(ConfVar *vars, const ConfVar *tmpl, int count)
{
    for (int i = 0; i < count; ++i) {
        ConfVar *var = &vars[tmpl[i].slot];
        var->name = tmpl[i].name;
        var->type = tmpl[i].type;
        if (var->type == CONF_STRING || var->type == CONF_STRINGLIST) {
            if (conf_set_var(var, tmpl[i].value) == -1)
                return -1;
        } else if (var->type == CONF_BOOLEAN) {
            setBoolean(var, tmpl[i].value.boolean);
        } else {
            var->value = tmpl[i].value;
        }
    }
    return 0;
}

ConfSection *conf_new_section(const char *name, const ConfVar *tmpl, int count)
{
    ConfSection *section = static_cast<ConfSection *>(calloc(1, sizeof(ConfSection)));
    if (!section) {
        conf_set_error(CONF_ERR_FATAL, "calloc()");
        return nullptr;
    }
    section->count = count;
    section->vars = static_cast<ConfVar *>(calloc(count > 0 ? count : 1, sizeof(ConfVar)));
    if (!section->vars) {
        conf_set_error(CONF_ERR_FATAL, "calloc()");
        free(section);
        return nullptr;
    }
    if (name && !(section->name = strdup(name))) {
        conf_set_error(CONF_ERR_FATAL, "strdup()");
        conf_free_section(section);
        return nullptr;
    }
    if (conf_copy_defaults(section->vars, tmpl, count) == -1) {
        conf_free_section(section);
        return nullptr;
    }
    return section;
}

ConfSection *conf_add_section(ConfSection *first, const char *name, const ConfVar *tmpl, int count)
{
    if (!first)
        return nullptr;
    ConfSection *last = first;
    for (ConfSection *section = first; section; section = section->next) {
        last = section;
        if (name && section->name && strcmp(section->name, name) == 0) {
            conf_set_error(CONF_ERR_DUP_SECTION, "Section '%s'", name);
            return nullptr;
        }
        if (!name && !section->name) {
            conf_set_error(CONF_ERR_DUP_SECTION, "Global section%s", "");
            return nullptr;
        }
    }
    if (!name) {
        // The global section is always first; appending one would break that.
        errno = EINVAL;
        conf_set_error(CONF_ERR_FATAL, "Global section");
        return nullptr;
    }
    ConfSection *section = conf_new_section(name, tmpl, count);
    if (section)
        last->next = section;
    return section;
}

ConfSection *conf_find_section(ConfSection *first, const char *name)
{
    for (ConfSection *section = first; section; section = section->next) {
        if (name ? section->name && strcmp(section->name, name) == 0 : !section->name)
            return section;
    }
    return nullptr;
}

void conf_remove_section(ConfSection **first, const char *name)
{
    if (!*first)
        return;
    if (!name) {
        // The global section, when there is one, is always first.
        if (!(*first)->name) {
            ConfSection *global = *first;
            *first = global->next;
            conf_free_section(global);
        }
        return;
    }
    for (ConfSection **link = first; *link; link = &(*link)->next) {
        if ((*link)->name && strcmp((*link)->name, name) == 0) {
            ConfSection *found = *link;
            *link = found->next;
            conf_free_section(found);
            return;
        }
    }
}

void conf_free_section(ConfSection *section)
{
    if (!section)
        return;
    free(section->name);
    for (int i = 0; i < section->count; ++i) {
        if (section->vars[i].type == CONF_STRING)
            free(section->vars[i].value.string);
        else if (section->vars[i].type == CONF_STRINGLIST)
            conf_free_list(section->vars[i].value.list);
    }
    free(section->vars);
    free(section);
}

void conf_free_sections(ConfSection *first)
{
    while (first) {
        ConfSection *next = first->next;
        conf_free_section(first);
        first = next;
    }
}

int conf_set_value(ConfSection *section, int slot, ConfValue value)
{
    return conf_set_var(&section->vars[slot], value);
}

int conf_set_var(ConfVar *var, ConfValue value)
{
    switch (var->type) {
    case CONF_STRING:
        return replaceString(var, value.text) ? 0 : -1;
    case CONF_STRINGLIST:
        conf_free_list(var->value.list);
        var->value.list = nullptr;
        return copyTexts(&var->value.list, value.texts) ? 0 : -1;
    case CONF_INTEGER:
        var->value.word = 0;
        var->value.integer = static_cast<int32_t>(static_cast<uint32_t>(value.word));
        return 0;
    case CONF_BOOLEAN:
        setBoolean(var, value.word & 1);
        return 0;
    default:
        return 0;
    }
}
